#include "alarms/alarmfile.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sys/resource.h>

using namespace ovra;

namespace {

AlarmRecord alarmAt(int hour, int minute, const QString& note = QStringLiteral("tip")) {
    AlarmRecord r;
    r.AlarmTime = alarmTimeOf(hour, minute);
    r.Status = 1;
    r.Note = note;
    r.SoundFile = QStringLiteral("Default Alarm Sound");
    return r;
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

QByteArray records(int n) {
    QByteArray out;
    for (int i = 0; i < n; ++i)
        out += alarmAt(i / 60 % 24, i % 60, QStringLiteral("alarm %1").arg(i)).toBytes();
    return out;
}

class AlarmFile : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("Default.cfg")); }
    QTemporaryDir m_dir;
    AlarmTable m_table;
    test::RecordingMessageSink m_messages;
};

} // namespace

TEST_F(AlarmFile, OneAlarmIsOneRecordAndReadsBackIdentically) {
    AlarmRecord r = alarmAt(7, 5);
    for (int i = 0; i < 32; ++i)
        r.Reserved[i] = uint8_t(i * 7 + 1);
    r.NoticeShown = 1;
    ASSERT_TRUE(m_table.add(r));
    m_table.at(0).NoticeShown = 1; // a notice open while the editor saved
    ASSERT_EQ(SaveAlarmFile(m_table, path(), m_messages), 0);
    const QByteArray saved = readAll(path());
    EXPECT_EQ(saved.size(), 566);

    AlarmTable loaded;
    ASSERT_EQ(LoadAlarmFile(loaded, path(), m_messages), 0);
    ASSERT_EQ(loaded.AlarmCount(), 1);
    EXPECT_EQ(loaded.at(0).toBytes(), saved);
    EXPECT_EQ(loaded.at(0).Reserved, r.Reserved);
    EXPECT_EQ(loaded.at(0).NoticeShown, 1); // taken as stored
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(AlarmFile, LengthDecidesTheRecordCount) {
    const QByteArray two = records(2);
    struct Case {
        const char* name;
        QByteArray bytes;
        int32_t result;
        int count;
        bool message;
    } cases[] = {
        {"zero-length file", {}, 0, 0, false},
        {"shorter than half a record", two.left(200), 0, 0, false},
        {"567 bytes round to one record", two.left(566) + 'x', 0, 1, false},
        {"849 bytes ask for two; the half record is left out", two.left(849), 0, 1, false},
        {"two records exactly", two, 0, 2, false},
        {"2.5 records round to the even neighbour, 2", records(3).left(1415), 0, 2, false},
        {"128 records", records(128), 0, 128, false},
        {"128 records and a little more", records(128) + QByteArray(200, 'x'), 0, 128, false},
        {"129 records: the first 128 and the message", records(129), 1, 128, true},
        {"128.5 records count as 128", records(128) + QByteArray(283, 'x'), 0, 128, false},
        {"128.6 records count as 129", records(128) + QByteArray(340, 'x'), 1, 128, true},
        {"200 records", records(200), 1, 128, true},
    };
    for (const Case& c : cases) {
        writeAll(path(), c.bytes);
        m_messages.messages.clear();
        AlarmTable table;
        table.appendLoaded(alarmAt(1, 1)); // loading replaces what was there
        EXPECT_EQ(LoadAlarmFile(table, path(), m_messages), c.result) << c.name;
        EXPECT_EQ(table.AlarmCount(), c.count) << c.name;
        ASSERT_EQ(m_messages.messages.size(), c.message ? 1u : 0u) << c.name;
        if (c.message) {
            EXPECT_EQ(m_messages.messages[0].text,
                      QStringLiteral("Reading configuration file failed! "));
            EXPECT_EQ(m_messages.messages[0].title, QStringLiteral("Ovra Clock"));
            EXPECT_EQ(m_messages.messages[0].icon, MessageIcon::Warning);
        }
        if (c.count > 0) {
            EXPECT_EQ(table.at(c.count - 1).toBytes(), c.bytes.mid((c.count - 1) * 566, 566))
                << c.name;
        }
    }
}

TEST_F(AlarmFile, MissingFileIsAnEmptyListWithoutMessage) {
    m_table.appendLoaded(alarmAt(1, 1));
    EXPECT_EQ(LoadAlarmFile(m_table, path(), m_messages), 1);
    EXPECT_EQ(LoadAlarmFile(m_table, QStringLiteral("   "), m_messages), 1);
    EXPECT_EQ(m_table.AlarmCount(), 0);
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(AlarmFile, AFolderInPlaceOfTheFileCannotBeRead) {
    QDir(m_dir.path()).mkdir(QStringLiteral("Default.cfg"));
    EXPECT_EQ(LoadAlarmFile(m_table, path(), m_messages), 1);
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].text, kAlarmReadFailed);
}

TEST_F(AlarmFile, SavingNoAlarmsRemovesTheFile) {
    writeAll(path(), records(3));
    EXPECT_EQ(SaveAlarmFile(m_table, path(), m_messages), 0);
    EXPECT_FALSE(QFile::exists(path()));
    // ... and loading then finds an empty list, silently.
    EXPECT_EQ(LoadAlarmFile(m_table, path(), m_messages), 1);
    EXPECT_EQ(SaveAlarmFile(m_table, path(), m_messages), 0); // nothing to remove
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(AlarmFile, AnOldFileThatCannotBeRemovedIsReported) {
    // A folder where the file should be cannot go; the alarms "deleted" would
    // otherwise come back at the next start without a word.
    QDir(m_dir.path()).mkpath(QStringLiteral("Default.cfg/inside"));
    EXPECT_EQ(SaveAlarmFile(m_table, path(), m_messages), 1);
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].text, QStringLiteral("Saving configuration file failed! "));
    EXPECT_EQ(m_messages.messages[0].title, QStringLiteral("Ovra Clock"));
    m_table.add(alarmAt(1, 2));
    EXPECT_EQ(SaveAlarmFile(m_table, path(), m_messages), 1);
    EXPECT_TRUE(QFileInfo(path()).isDir());
}

TEST_F(AlarmFile, AFailedWriteKeepsTheOldFile) {
    const QByteArray old = records(2);
    writeAll(path(), old);
    for (int i = 0; i < 5; ++i)
        m_table.add(alarmAt(10, i));

    // A full disk, as far as this process is concerned: no file may grow past
    // 1000 bytes. Works whoever runs the test, root included.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit tight = saved;
    tight.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const int32_t result = SaveAlarmFile(m_table, path(), m_messages);
    setrlimit(RLIMIT_FSIZE, &saved);

    EXPECT_EQ(result, 1);
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].text, kAlarmSaveFailed);
    EXPECT_EQ(readAll(path()), old);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Default.cfg")})
        << "no temporary file is left behind";
}

TEST_F(AlarmFile, AMissingDataFolderIsReportedAndNothingIsWritten) {
    const QString inMissing = m_dir.filePath(QStringLiteral("gone/Default.cfg"));
    m_table.add(alarmAt(1, 2));
    EXPECT_EQ(SaveAlarmFile(m_table, inMissing, m_messages), 1);
    EXPECT_EQ(m_messages.messages.size(), 1u);
    EXPECT_FALSE(QFile::exists(inMissing));
}

TEST_F(AlarmFile, AReadOnlyDataFolderKeepsTheOldFile) {
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root; the size limit test covers the failure";
    const QByteArray old = records(1);
    writeAll(path(), old);
    m_table.add(alarmAt(3, 4));
    QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(SaveAlarmFile(m_table, path(), m_messages), 1);
    QFile::setPermissions(m_dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(readAll(path()), old);
}

TEST_F(AlarmFile, SaveReplacesTheWholeFile) {
    writeAll(path(), records(5));
    m_table.add(alarmAt(8, 0, QStringLiteral("only")));
    ASSERT_EQ(SaveAlarmFile(m_table, path(), m_messages), 0);
    EXPECT_EQ(readAll(path()), m_table.at(0).toBytes());
}

// Whatever bytes the file holds, loading keeps to the table's bounds, never
// crashes and reads every whole record exactly as stored.
TEST_F(AlarmFile, FuzzedFilesLoadWithinBounds) {
    std::mt19937 rng(20260101);
    const QByteArray valid = records(6);
    const QRegularExpression minutePattern(QStringLiteral("^([01][0-9]|2[0-3]):[0-5][0-9]$"));
    // OVRA_FUZZ_ROUNDS runs a longer session by hand.
    const int rounds = qEnvironmentVariableIntValue("OVRA_FUZZ_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("OVRA_FUZZ_ROUNDS")
                           : 1500;
    for (int round = 0; round < rounds; ++round) {
        QByteArray bytes;
        switch (round % 3) {
        case 0: { // random length and content
            // Now and then long enough to pass the 128-record limit.
            const int len = int(rng() % ((round % 30 == 0 ? 140 : 12) * 566));
            bytes.resize(len);
            for (char& c : bytes)
                c = char(rng());
            break;
        }
        case 1: { // a valid file with flipped bytes and a random cut
            bytes = valid;
            for (int i = 0; i < 40; ++i)
                bytes[int(rng() % bytes.size())] = char(rng());
            bytes.truncate(int(rng() % (bytes.size() + 1)));
            break;
        }
        default: // NULs, spaces and high bytes only, common in damaged text fields
            bytes.resize(int(rng() % (8 * 566)));
            for (char& c : bytes)
                c = "\0 \xFF\x80\xC3"[rng() % 5];
        }
        writeAll(path(), bytes);
        m_messages.messages.clear();
        AlarmTable table;
        const int32_t result = LoadAlarmFile(table, path(), m_messages);

        const qint64 claimed = qint64(std::nearbyint(double(bytes.size()) / 566));
        const int whole = int(std::min<qint64>({claimed, bytes.size() / 566, 128}));
        ASSERT_EQ(table.AlarmCount(), whole) << "round " << round << " size " << bytes.size();
        ASSERT_EQ(result, claimed > 128 ? 1 : 0) << "round " << round;
        ASSERT_EQ(m_messages.messages.size(), claimed > 128 ? 1u : 0u);
        for (int i = 0; i < table.AlarmCount(); ++i) {
            // Text fields that are not UTF-8 are re-encoded, so compare the rest.
            const QByteArray again = table.at(i).toBytes();
            ASSERT_EQ(again.left(56), bytes.mid(i * 566, 56)) << "round " << round;
            const QString minute = alarmMinuteText(table.at(i).AlarmTime);
            ASSERT_TRUE(minute.isEmpty() || minutePattern.match(minute).hasMatch())
                << qPrintable(minute);
        }
    }
}
