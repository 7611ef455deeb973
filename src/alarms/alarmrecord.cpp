#include "alarmrecord.h"

#include <QStringDecoder>
#include <QtEndian>

#include <cmath>
#include <cstring>

namespace ovra {

namespace {

// Offsets inside one record.
constexpr int kTimeAt = 0;
constexpr int kStatusAt = 8;
constexpr int kNoticeShownAt = 12;
constexpr int kActionAt = 16;
constexpr int kPlayTimeAt = 20;
constexpr int kReservedAt = 24;
constexpr int kNoteAt = 56;
constexpr int kSoundFileAt = 311;
static_assert(kSoundFileAt + kAlarmTextBytes == kAlarmRecordSize);

// The range of an OLE Automation date: 1 January 100 to 31 December 9999.
constexpr double kOleDateMin = -657434.0;
constexpr double kOleDateMax = 2958465.99999999;

void putInt32(char* at, int32_t value) {
    qToLittleEndian(value, at);
}
int32_t getInt32(const char* at) {
    return qFromLittleEndian<int32_t>(at);
}

// Windows-1252 for 0x80..0x9F; the rest of the code page is Latin-1. The five
// unassigned bytes map to the C1 control of the same value, as Windows does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

QString decodeCp1252(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<uint8_t>(bytes[i]);
        out[i] = (b >= 0x80 && b <= 0x9F) ? QChar(kCp1252High[b - 0x80]) : QChar(b);
    }
    return out;
}

// The Windows-1252 byte of a character, or -1 when the code page has none.
int cp1252Byte(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c)
            return 0x80 + i;
    return -1;
}

// The text in Windows-1252, or nothing when a character does not fit.
std::optional<QByteArray> encodeCp1252(QStringView text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const int b = cp1252Byte(c.unicode());
        if (b < 0)
            return std::nullopt;
        out += char(b);
    }
    return out;
}

QByteArray encodeUtf8(QStringView text) {
    QByteArray out;
    out.reserve(kAlarmTextBytes);
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype units =
            (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2
                                                                                               : 1;
        const QByteArray encoded = text.sliced(i, units).toUtf8();
        if (out.size() + encoded.size() > kAlarmTextBytes)
            break; // never split a character: the rest of the field is padding
        out += encoded;
        i += units;
    }
    return out;
}

} // namespace

QByteArray AlarmRecord::toBytes() const {
    QByteArray out(kAlarmRecordSize, '\0');
    char* p = out.data();
    // The double goes out bit for bit, so whatever a file held (even a NaN) survives.
    uint64_t bits;
    std::memcpy(&bits, &AlarmTime, sizeof bits);
    qToLittleEndian(bits, p + kTimeAt);
    putInt32(p + kStatusAt, status);
    putInt32(p + kNoticeShownAt, NoticeShown);
    putInt32(p + kActionAt, Action);
    putInt32(p + kPlayTimeAt, PlayTime);
    std::memcpy(p + kReservedAt, Reserved.data(), Reserved.size());
    const QByteArray note = encodeAlarmText(Note);
    const QByteArray sound = encodeAlarmText(SoundFile);
    std::memcpy(p + kNoteAt, note.constData(), kAlarmTextBytes);
    std::memcpy(p + kSoundFileAt, sound.constData(), kAlarmTextBytes);
    return out;
}

AlarmRecord AlarmRecord::fromBytes(QByteArrayView bytes) {
    Q_ASSERT(bytes.size() == kAlarmRecordSize);
    const char* p = bytes.data();
    AlarmRecord r;
    const auto bits = qFromLittleEndian<uint64_t>(p + kTimeAt);
    std::memcpy(&r.AlarmTime, &bits, sizeof bits);
    r.status = getInt32(p + kStatusAt);
    r.NoticeShown = getInt32(p + kNoticeShownAt);
    r.Action = getInt32(p + kActionAt);
    r.PlayTime = getInt32(p + kPlayTimeAt);
    std::memcpy(r.Reserved.data(), p + kReservedAt, r.Reserved.size());
    r.Note = decodeAlarmText(bytes.sliced(kNoteAt, kAlarmTextBytes));
    r.SoundFile = decodeAlarmText(bytes.sliced(kSoundFileAt, kAlarmTextBytes));
    return r;
}

uint8_t alarmWeekdays(const AlarmRecord& alarm) {
    if (alarm.Reserved[1] != kWeekdayMark)
        return kEveryDay;
    const uint8_t days = alarm.Reserved[0] & kAllDayBits;
    return days == kAllDayBits ? kEveryDay : days;
}

void setAlarmWeekdays(AlarmRecord& alarm, uint8_t days) {
    days &= kAllDayBits;
    if (days == kAllDayBits)
        days = kEveryDay;
    if (days == kEveryDay) {
        // Only a mask of ours is taken back; bytes someone else left stay.
        if (alarm.Reserved[1] == kWeekdayMark) {
            alarm.Reserved[0] &= static_cast<uint8_t>(~kAllDayBits);
            alarm.Reserved[1] = 0;
        }
        return;
    }
    alarm.Reserved[0] = static_cast<uint8_t>((alarm.Reserved[0] & ~kAllDayBits) | days);
    alarm.Reserved[1] = kWeekdayMark;
}

bool weekdaysOverlap(uint8_t a, uint8_t b) {
    a &= kAllDayBits;
    b &= kAllDayBits;
    return a == kEveryDay || b == kEveryDay || (a & b) != 0;
}

bool alarmFallsOn(const AlarmRecord& alarm, int dayOfWeek) {
    const uint8_t days = alarmWeekdays(alarm);
    if (days == kEveryDay)
        return true;
    return dayOfWeek >= 1 && dayOfWeek <= 7 && (days & (1u << (dayOfWeek - 1))) != 0;
}

double alarmTimeOf(int hour, int minute) {
    return (hour * 3600 + minute * 60) / 86400.0;
}

std::optional<int> alarmSecondOfDay(double alarmTime) {
    if (!std::isfinite(alarmTime) || alarmTime < kOleDateMin || alarmTime > kOleDateMax)
        return std::nullopt;
    // Before 30 December 1899 the time part counts forward from the day's midnight
    // just as after it, hence the absolute value of the fraction.
    const double fraction = std::fabs(alarmTime - std::trunc(alarmTime));
    const auto seconds = static_cast<int>(std::llround(fraction * 86400.0));
    return seconds % 86400;
}

QString alarmMinuteText(double alarmTime) {
    const auto seconds = alarmSecondOfDay(alarmTime);
    if (!seconds)
        return {};
    const int hour = *seconds / 3600;
    const int minute = *seconds % 3600 / 60;
    return QStringLiteral("%1:%2").arg(hour, 2, 10, QChar(u'0')).arg(minute, 2, 10, QChar(u'0'));
}

QByteArray encodeAlarmText(QStringView text) {
    QByteArray out;
    // A text such as "Ã©" is valid UTF-8 in Windows-1252 bytes and would come back
    // as "é": the reader takes valid UTF-8 first.
    if (auto cp1252 = encodeCp1252(text.left(kAlarmTextBytes));
        cp1252 && decodeAlarmText(*cp1252) == text.left(kAlarmTextBytes))
        out = std::move(*cp1252);
    else
        out = encodeUtf8(text);
    out.append(kAlarmTextBytes - out.size(), ' ');
    return out;
}

QString decodeAlarmText(QByteArrayView bytes) {
    // A leading byte-order mark is kept as a character so the field round-trips.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless |
                                                    QStringConverter::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    return decodeCp1252(bytes);
}

QString fitAlarmText(const QString& text) {
    if (text.size() <= kAlarmTextBytes)
        return text;
    qsizetype keep = kAlarmTextBytes;
    if (text[keep - 1].isHighSurrogate())
        --keep;
    return text.left(keep);
}

} // namespace ovra
