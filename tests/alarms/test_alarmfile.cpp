#include "alarms/alarmfile.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace ovra;

namespace {

AlarmRecord alarmAt(int hour, int minute) {
    AlarmRecord r;
    r.AlarmTime = alarmTimeOf(hour, minute);
    r.status = 1;
    r.Note = QStringLiteral("alarm %1:%2").arg(hour).arg(minute);
    return r;
}

QByteArray records(int n) {
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out += alarmAt(i / 60 % 24, i % 60).toBytes();
    return out;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(data), data.size());
}

class AlarmFile : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("Default.cfg")); }
    QStringList texts() const {
        QStringList out;
        for (const auto& m : m_messages.messages)
            out << m.text;
        return out;
    }
    QTemporaryDir m_dir;
    AlarmTable m_table;
    test::RecordingMessageSink m_messages;
};

} // namespace

TEST_F(AlarmFile, OneAlarmIsOneRecordAndReadsBackIdentically) {
    AlarmRecord r = alarmAt(7, 5);
    for (int i = 0; i < 32; ++i)
        r.Reserved[i] = uint8_t(i * 7 + 1);
    ASSERT_TRUE(m_table.add(r));
    m_table.at(0).NoticeShown = 1; // a notice open while the editor saved
    ASSERT_EQ(saveAlarmFile(m_table, path(), m_messages), 0);
    const QByteArray saved = readAll(path());
    EXPECT_EQ(saved.size(), 566);

    AlarmTable loaded;
    ASSERT_EQ(loadAlarmFile(loaded, path(), m_messages), 0);
    ASSERT_EQ(loaded.alarmCount(), 1);
    EXPECT_EQ(loaded.at(0).toBytes(), saved);
    EXPECT_EQ(loaded.at(0).Reserved, r.Reserved);
    EXPECT_EQ(loaded.at(0).NoticeShown, 1); // taken as stored
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(AlarmFile, LengthDecidesTheRecordCount) {
    struct Case {
        const char* name;
        QByteArray bytes;
        int32_t result;
        int count;
    } cases[] = {
        {"zero-length file", {}, 0, 0},
        {"567 bytes round to one record", records(1) + 'x', 0, 1},
        {"849 bytes ask for two; the half record is left out", records(2).left(849), 0, 1},
        {"2.5 records round to the even neighbour", records(3).left(1415), 0, 2},
        {"128.5 records count as 128", records(128) + QByteArray(283, 'x'), 0, 128},
        {"129 records: the first 128 and the message", records(129), 1, 128},
        {"128.6 records count as 129", records(128) + QByteArray(340, 'x'), 1, 128},
    };
    for (const Case& c : cases) {
        writeAll(path(), c.bytes);
        m_messages.messages.clear();
        m_table.appendLoaded(alarmAt(1, 1)); // loading replaces what was there
        EXPECT_EQ(loadAlarmFile(m_table, path(), m_messages), c.result) << c.name;
        ASSERT_EQ(m_table.alarmCount(), c.count) << c.name;
        EXPECT_EQ(texts(), c.result
                               ? QStringList{QStringLiteral("Reading configuration file failed! ")}
                               : QStringList())
            << c.name;
        EXPECT_EQ(alarmFileBytes(m_table), c.bytes.left(c.count * 566)) << c.name;
    }
    EXPECT_EQ(m_messages.messages.at(0).title, QStringLiteral("Ovra Clock"));
    EXPECT_EQ(m_messages.messages.at(0).icon, MessageIcon::Warning);
}

TEST_F(AlarmFile, SavingNoAlarmsRemovesTheFileAndLoadingFindsNone) {
    writeAll(path(), records(3));
    EXPECT_EQ(saveAlarmFile(m_table, path(), m_messages), 0);
    EXPECT_FALSE(QFile::exists(path()));
    m_table.appendLoaded(alarmAt(1, 1));
    EXPECT_EQ(loadAlarmFile(m_table, path(), m_messages), 1);
    EXPECT_EQ(m_table.alarmCount(), 0);
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(AlarmFile, AFolderWhereTheFileShouldBe) {
    QDir(m_dir.path()).mkpath(QStringLiteral("Default.cfg/inside"));
    EXPECT_EQ(loadAlarmFile(m_table, path(), m_messages), 1);
    // The old "file" cannot go: the deleted alarms would be back at the next start.
    EXPECT_EQ(saveAlarmFile(m_table, path(), m_messages), 1);
    m_table.add(alarmAt(1, 2));
    EXPECT_EQ(saveAlarmFile(m_table, path(), m_messages), 1);
    // Nor can a file be written in a data folder that is missing.
    EXPECT_EQ(saveAlarmFile(m_table, m_dir.filePath(QStringLiteral("gone/x.cfg")), m_messages), 1);
    const QString notAFile = u'\n' + path() + QStringLiteral(" is not a regular file.");
    EXPECT_EQ(texts(), (QStringList{kAlarmReadFailed + notAFile, kAlarmSaveFailed + notAFile,
                                    kAlarmSaveFailed + notAFile, kAlarmSaveFailed}));
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

// Opening a FIFO for reading blocks until a writer comes, and a device may never
// end: neither is read nor replaced, and each is named in the message.
TEST_F(AlarmFile, AFifoOrADeviceInPlaceOfTheFileIsNeitherReadNorReplaced) {
    const struct {
        const char* what;
        std::function<bool(const QString&)> make;
    } cases[] = {
        {"FIFO",
         [](const QString& p) {
             return ::mkfifo(QFile::encodeName(p), 0600) == 0;
         }},
        {"link to a device",
         [](const QString& p) {
             return QFile::link(QStringLiteral("/dev/zero"), p);
         }},
    };
    for (const auto& c : cases) {
        QFile::remove(path());
        ASSERT_TRUE(c.make(path())) << c.what;
        m_messages.messages.clear();
        m_table.clear();
        EXPECT_EQ(loadAlarmFile(m_table, path(), m_messages), 1) << c.what;
        m_table.add(alarmAt(7, 30));
        EXPECT_EQ(saveAlarmFile(m_table, path(), m_messages), 1) << c.what;
        m_table.clear();
        EXPECT_EQ(saveAlarmFile(m_table, path(), m_messages), 1) << c.what;
        ASSERT_EQ(m_messages.messages.size(), 3u) << c.what;
        for (const auto& m : m_messages.messages)
            EXPECT_TRUE(m.text.endsWith(path() + QStringLiteral(" is not a regular file.")))
                << c.what << ": " << qPrintable(m.text);
        EXPECT_FALSE(QFileInfo(path()).isFile()) << c.what << " was replaced";
    }
}

// Alarm notes are private: the file is the owner's alone, also one written before.
TEST_F(AlarmFile, TheFileIsReadableByItsOwnerOnly) {
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    const auto others = QFileDevice::ReadGroup | QFileDevice::ReadOther;
    m_table.add(alarmAt(6, 0));
    ASSERT_EQ(saveAlarmFile(m_table, path(), m_messages), 0);
    EXPECT_EQ(QFile::permissions(path()) & (ownerOnly | others), ownerOnly);

    QFile::setPermissions(path(), ownerOnly | others);
    EXPECT_EQ(loadAlarmFile(m_table, path(), m_messages), 0);
    EXPECT_EQ(QFile::permissions(path()) & (ownerOnly | others), ownerOnly);
}

TEST_F(AlarmFile, AFailedWriteKeepsTheOldFile) {
    const QByteArray old = records(2);
    writeAll(path(), old);
    for (int i = 0; i < 5; ++i)
        m_table.add(alarmAt(10, i));

    // A full disk as far as this process can tell: no file may grow past 1000
    // bytes. Unlike folder permissions, this binds root too.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tight = saved;
    tight.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const int32_t result = saveAlarmFile(m_table, path(), m_messages);
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(result, 1);
    EXPECT_EQ(texts(), QStringList{QStringLiteral("Saving configuration file failed! ")});
    EXPECT_EQ(readAll(path()), old);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Default.cfg")})
        << "no temporary file is left behind";
}

// Random files, and valid ones damaged: loading stays within the table and reads
// every whole record as stored. OVRA_FUZZ_ROUNDS runs a longer session by hand.
TEST_F(AlarmFile, DamagedFilesLoadWithinBounds) {
    std::mt19937 rng(20260101);
    const QByteArray valid = records(6);
    const int rounds = qEnvironmentVariableIntValue("OVRA_FUZZ_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("OVRA_FUZZ_ROUNDS")
                           : 1500;
    for (int round = 0; round < rounds; ++round) {
        QByteArray bytes;
        if (round % 2 == 0) {
            // Now and then long enough to pass the 128-record limit.
            bytes.resize(int(rng() % ((round % 30 == 0 ? 140 : 12) * 566)));
            for (char& c : bytes)
                c = "\0 \xFF\x80\xC3x"[rng() % 6];
        } else {
            bytes = valid;
            for (int i = 0; i < 40; ++i)
                bytes[int(rng() % bytes.size())] = char(rng());
            bytes.truncate(int(rng() % (bytes.size() + 1)));
        }
        writeAll(path(), bytes);
        m_messages.messages.clear();
        const int32_t result = loadAlarmFile(m_table, path(), m_messages);

        const auto claimed = qint64(std::nearbyint(double(bytes.size()) / 566));
        const int whole = int(std::min<qint64>({claimed, bytes.size() / 566, 128}));
        ASSERT_EQ(m_table.alarmCount(), whole) << "round " << round;
        ASSERT_EQ(result, claimed > 128 ? 1 : 0) << "round " << round;
        ASSERT_EQ(m_messages.messages.size(), size_t(result));
        for (int i = 0; i < whole; ++i) // texts that are not UTF-8 are re-encoded
            ASSERT_EQ(m_table.at(i).toBytes().left(56), bytes.mid(i * 566, 56)) << round;
    }
}

TEST_F(AlarmFile, WeekdayByteIsReadAndWrittenWithoutDisturbingItsNeighbours) {
    // A record as an older build wrote it: byte 24 zero, so every day.
    AlarmRecord old = alarmAt(6, 30);
    for (int i = 1; i < 32; ++i)
        old.Reserved[i] = uint8_t(0xC0 + i);
    writeAll(path(), old.toBytes());
    ASSERT_EQ(loadAlarmFile(m_table, path(), m_messages), 0);
    ASSERT_EQ(m_table.alarmCount(), 1);
    EXPECT_EQ(alarmWeekdays(m_table.at(0)), kEveryDay);
    for (int day = 1; day <= 7; ++day)
        EXPECT_TRUE(alarmFallsOn(m_table.at(0), day)) << day;
    ASSERT_EQ(saveAlarmFile(m_table, path(), m_messages), 0);
    EXPECT_EQ(readAll(path()), old.toBytes());

    // Monday to Friday, with the unused top bit set by someone else.
    m_table.at(0).Reserved[0] = 0x80;
    setAlarmWeekdays(m_table.at(0), 0x1F);
    ASSERT_EQ(saveAlarmFile(m_table, path(), m_messages), 0);
    const QByteArray saved = readAll(path());
    EXPECT_EQ(uint8_t(saved[24]), 0x9F);
    EXPECT_EQ(uint8_t(saved[25]), kWeekdayMark);
    EXPECT_EQ(saved.mid(26, 30), old.toBytes().mid(26, 30));
    AlarmTable loaded;
    ASSERT_EQ(loadAlarmFile(loaded, path(), m_messages), 0);
    EXPECT_EQ(loaded.at(0).toBytes(), saved);
    EXPECT_EQ(alarmWeekdays(loaded.at(0)), 0x1F);
    EXPECT_TRUE(alarmFallsOn(loaded.at(0), 5));  // Friday
    EXPECT_FALSE(alarmFallsOn(loaded.at(0), 6)); // Saturday

    // All seven days is every day, stored as 0 without the mark; bit 7 stays.
    setAlarmWeekdays(loaded.at(0), kAllDayBits);
    EXPECT_EQ(loaded.at(0).Reserved[0], 0x80);
    EXPECT_EQ(loaded.at(0).Reserved[1], 0);
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(AlarmFile, TheWeekdayByteCountsOnlyWithItsMark) {
    struct Case {
        uint8_t days, mark, expected;
    } cases[] = {
        {0x1F, 0x00, kEveryDay}, // a stray byte in a file the weekdays never wrote
        {0x1F, 0xA4, kEveryDay},    {0x1F, kWeekdayMark, 0x1F},
        {0x60, kWeekdayMark, 0x60}, {0x00, kWeekdayMark, kEveryDay},
    };
    for (const Case& c : cases) {
        AlarmRecord stored = alarmAt(6, 30);
        stored.Reserved[0] = c.days;
        stored.Reserved[1] = c.mark;
        writeAll(path(), stored.toBytes());
        ASSERT_EQ(loadAlarmFile(m_table, path(), m_messages), 0);
        EXPECT_EQ(alarmWeekdays(m_table.at(0)), c.expected) << int(c.days) << " " << int(c.mark);
        EXPECT_EQ(alarmFallsOn(m_table.at(0), 7), c.expected == kEveryDay || (c.expected & 0x40))
            << int(c.days) << " " << int(c.mark);
        // Every day asked of an unmarked record leaves its bytes as read.
        setAlarmWeekdays(m_table.at(0), kEveryDay);
        if (c.mark != kWeekdayMark) {
            EXPECT_EQ(m_table.at(0).toBytes(), stored.toBytes()) << int(c.days);
        }
    }
}
