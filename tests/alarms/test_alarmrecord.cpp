#include "alarms/alarmrecord.h"

#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace ovra;

namespace {

QByteArray randomBytes(std::mt19937& rng, int n) {
    QByteArray out(n, '\0');
    for (char& c : out)
        c = char(rng() & 0xFF);
    return out;
}

QByteArray field(QByteArrayView text, char pad = ' ') {
    QByteArray out(text.data(), text.size());
    out.append(kAlarmTextBytes - out.size(), pad);
    return out;
}

} // namespace

TEST(AlarmRecord, FieldsSitAtTheirOffsetsLittleEndian) {
    AlarmRecord r;
    r.AlarmTime = alarmTimeOf(19, 5);
    r.status = 1;
    r.NoticeShown = 1;
    r.Action = alarmaction::Lock;
    r.PlayTime = playtime::Loop;
    for (int i = 0; i < 32; ++i)
        r.Reserved[i] = uint8_t(0xA0 + i);
    r.Note = QStringLiteral("abc");
    r.SoundFile = QStringLiteral("Default Alarm Sound");

    const QByteArray b = r.toBytes();
    ASSERT_EQ(b.size(), 566);
    double time;
    const auto bits = qFromLittleEndian<uint64_t>(b.constData());
    std::memcpy(&time, &bits, 8);
    EXPECT_EQ(time, (19 * 3600 + 5 * 60) / 86400.0);
    EXPECT_EQ(b.mid(8, 16), QByteArray::fromHex("01000000"
                                                "01000000"
                                                "03000000"
                                                "04000000"));
    EXPECT_EQ(uint8_t(b[24]), 0xA0);
    EXPECT_EQ(uint8_t(b[55]), 0xA0 + 31);
    EXPECT_EQ(b.mid(56, 255), field("abc"));
    EXPECT_EQ(b.mid(311, 255), field("Default Alarm Sound"));
}

TEST(AlarmRecord, RandomRecordsRoundTripByteForByte) {
    // Any 566 bytes whose text fields are valid UTF-8 come back exactly, whatever
    // the numbers, the reserved block or the double hold (NaNs included).
    std::mt19937 rng(566);
    for (int round = 0; round < 500; ++round) {
        QByteArray bytes = randomBytes(rng, kAlarmRecordSize);
        for (int i = 56; i < 566; ++i)
            bytes[i] = char(rng() % 0x80); // ASCII, NULs and controls included
        const AlarmRecord r = AlarmRecord::fromBytes(bytes);
        ASSERT_EQ(r.toBytes(), bytes) << "round " << round;
    }
    // A quiet NaN with a payload, as a damaged file may hold.
    QByteArray nan(kAlarmRecordSize, ' ');
    qToLittleEndian<uint64_t>(0x7FF8DEADBEEF0001ull, nan.data());
    EXPECT_EQ(AlarmRecord::fromBytes(nan).toBytes(), nan);
}

TEST(AlarmRecord, TextFieldsAreCutAtACharacterBoundaryAndPadded) {
    const QString a255(255, u'a');
    struct Case {
        const char* name;
        QString text;
        QByteArray expected;
    } cases[] = {
        {"short text padded with spaces", QStringLiteral("abc"), field("abc")},
        {"empty text is all spaces", QString(), field("")},
        {"255 characters need no padding", a255, a255.toUtf8()},
        {"the 256th character is lost", a255 + u'b', a255.toUtf8()},
        {"Windows-1252 when every character has a byte there", QStringLiteral("Café € “x”"),
         field("Caf\xE9 \x80 \x93x\x94")},
        {"255 accented characters fit one byte each", QString(255, u'é'), QByteArray(255, '\xE9')},
        {"UTF-8 when a character has no Windows-1252 byte", QStringLiteral("Café ☕"),
         field("Caf\xC3\xA9 \xE2\x98\x95")},
        {"UTF-8 when the Windows-1252 bytes would read as other UTF-8", QStringLiteral("Ã©"),
         field("\xC3\x83\xC2\xA9")},
        {"a two-byte character that would straddle the end goes",
         QString(254, u'a') + QStringLiteral("ā"), QString(254, u'a').toUtf8() + ' '},
        {"a four-byte character is never split",
         QString(252, u'a') + QString::fromUcs4(U"\U0001F514"),
         QString(252, u'a').toUtf8() + "   "},
        {"NULs are stored as NULs", QString(3, QChar(u'\0')), field(QByteArray(3, '\0'))},
    };
    for (const Case& c : cases) {
        const QByteArray got = encodeAlarmText(c.text);
        EXPECT_EQ(got.size(), 255) << c.name;
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(AlarmRecord, TextsThatFitReadBackAsTheyWere) {
    const QString texts[] = {QStringLiteral("Café € “x”"),
                             QString(255, u'é'),
                             QStringLiteral("Ã©"),
                             QStringLiteral("Caf\u00C3\u00A9 ☕"),
                             QStringLiteral("\u0081\u008D x"),
                             QString(255, u'a'),
                             QString(3, QChar(u'\0'))};
    for (const QString& text : texts) {
        const QString back = decodeAlarmText(encodeAlarmText(text));
        EXPECT_EQ(back.left(text.size()), text);
        EXPECT_EQ(back.mid(text.size()), QString(back.size() - text.size(), u' '))
            << text.toStdString();
    }
}

TEST(AlarmRecord, TextFieldsReadUtf8ElseWindows1252) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString expected;
    } cases[] = {
        {"ASCII", field("abc"), QStringLiteral("abc") + QString(252, u' ')},
        {"UTF-8", field("Caf\xC3\xA9"), QStringLiteral("Café") + QString(250, u' ')},
        {"Windows-1252", field("Caf\xE9 \x80 \x93x\x94"),
         QStringLiteral("Café € “x”") + QString(245, u' ')},
        {"unassigned 1252 bytes keep their value", field("\x81\x8D\x8F\x90\x9D"),
         QStringLiteral("\u0081\u008D\u008F\u0090\u009D") + QString(250, u' ')},
        {"never written: all NULs", QByteArray(255, '\0'), QString(255, QChar(u'\0'))},
        {"an overlong UTF-8 form is not UTF-8", field("\xC0\xAF"),
         QStringLiteral("À¯") + QString(253, u' ')},
        {"a UTF-8 sequence cut at the end is not UTF-8", QByteArray(254, 'a') + "\xC3",
         QString(254, u'a') + QStringLiteral("Ã")},
        {"a byte-order mark is kept", field("\xEF\xBB\xBFx"),
         QStringLiteral("\uFEFFx") + QString(251, u' ')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decodeAlarmText(c.bytes), c.expected) << c.name;
}

TEST(AlarmRecord, MinuteTextOfStoredTimes) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::pair<double, const char*> cases[] = {
        {alarmTimeOf(0, 0), "00:00"},
        {alarmTimeOf(19, 5), "19:05"},
        {7.0 / 24 + 5.0 / 1440, "07:05"},              // the same time summed another way
        {alarmTimeOf(7, 5) - 0.4 / 86400, "07:05"},    // rounded to the second
        {alarmTimeOf(23, 59) + 59.0 / 86400, "23:59"}, // seconds play no part
        {45000.75, "18:00"},                           // a date with a time
        {-1.25, "06:00"},                              // before 1899 the time counts forward too
        {1.0 - 0.1 / 86400, "00:00"},
        {std::numeric_limits<double>::quiet_NaN(), ""},
        {inf, ""},
        {-inf, ""},
        {1e300, ""},
    };
    for (const auto& [time, expected] : cases)
        EXPECT_EQ(alarmMinuteText(time), QString::fromLatin1(expected)) << time;
}
