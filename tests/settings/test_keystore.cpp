#include "settings/keystore.h"
#include "settings/sqlitestorebackend.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace ovra;

namespace {
const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Ovra Clock\\Tokyo");

class StoreTest : public ::testing::Test {
protected:
    test::TestHome home;
    SqliteStoreBackend backend{home.storePath()};
    KeyStore reg{backend};
};
} // namespace

TEST(splitKeyPath, RootsAreCaseInsensitiveAndUnknownRootsAreZero) {
    const struct {
        QString path;
        uint32_t root;
        QString subKey;
    } cases[] = {
        {QStringLiteral("HKEY_CURRENT_USER\\Software\\Ovra Clock"), rootkey::CurrentUser,
         QStringLiteral("Software\\Ovra Clock")},
        {QStringLiteral("hkey_current_user\\Software"), rootkey::CurrentUser,
         QStringLiteral("Software")},
        {QStringLiteral("HKEY_LOCAL_MACHINE"), rootkey::LocalMachine, QString()},
        {QStringLiteral("HKEY_DYN_DATA\\x"), rootkey::DynData, QStringLiteral("x")},
        {QStringLiteral("HKEY_CLASSES_ROOT\\"), rootkey::ClassesRoot, QString()},
        {QStringLiteral("HKCU\\Software"), 0, QStringLiteral("Software")},
        {QStringLiteral(""), 0, QString()},
        {QStringLiteral("\\Software"), 0, QStringLiteral("Software")},
    };
    for (const auto& c : cases) {
        const KeyPath p = splitKeyPath(c.path);
        EXPECT_EQ(p.root, c.root) << qPrintable(c.path);
        EXPECT_EQ(p.subKey, c.subKey) << qPrintable(c.path);
    }
}

TEST(ParseDecimal, RoundsHalfToEvenAndRefusesWhatDoesNotFit) {
    const struct {
        const char* text;
        std::optional<int32_t> value;
    } cases[] = {
        {"0", 0},
        {"-8947849", -8947849},
        {"  42  ", 42},
        {"+7", 7},
        {"2.5", 2},
        {"3.5", 4},
        {"-2.5", -2},
        {"0.49", 0},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"2147483648", std::nullopt},
        {"4294967295", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"12abc", std::nullopt},
        {"1e3", std::nullopt},
        {"&HFF", std::nullopt},
        {".", std::nullopt},
        {"-", std::nullopt},
        {"٣", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseDecimalInt32(QString::fromUtf8(c.text)), c.value) << c.text;
}

TEST_F(StoreTest, IntegersKeepAll32BitsAndTextComesBackWithoutNul) {
    EXPECT_EQ(reg.writeInteger(kKey, QStringLiteral("DateFontColor"), int32_t(0xFF777777u)),
              StoreError::None);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("DateFontColor")), -8947849);
    RawValue raw;
    ASSERT_EQ(backend.readValue(rootkey::CurrentUser, QStringLiteral("Software\\Ovra Clock\\Tokyo"),
                                QStringLiteral("DateFontColor"), raw),
              0);
    EXPECT_EQ(raw.type, valuetype::Dword);
    EXPECT_EQ(qFromLittleEndian<quint32>(raw.data.constData()), 0xFF777777u);

    EXPECT_EQ(reg.writeText(kKey, QStringLiteral("Clocks"), QStringLiteral("{Tokyo}{New York}")),
              StoreError::None);
    ASSERT_EQ(backend.readValue(rootkey::CurrentUser, QStringLiteral("Software\\Ovra Clock\\Tokyo"),
                                QStringLiteral("Clocks"), raw),
              0);
    EXPECT_EQ(raw.data, QByteArray("{Tokyo}{New York}"));
    EXPECT_EQ(std::get<QString>(reg.readValue(kKey, QStringLiteral("Clocks"))),
              QStringLiteral("{Tokyo}{New York}"));
    EXPECT_EQ(reg.readText(kKey, QStringLiteral("Clocks")), QStringLiteral("{Tokyo}{New York}"));
}

TEST_F(StoreTest, LowerCaseRootReachesTheSameKeyAndUnknownRootDoesNothing) {
    ASSERT_EQ(reg.writeInteger(QStringLiteral("hkey_current_user\\Software\\Ovra Clock\\Tokyo"),
                               QStringLiteral("Left"), 15),
              StoreError::None);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Left")), 15);

    EXPECT_NE(reg.writeInteger(QStringLiteral("HKEY_NOWHERE\\Software"), QStringLiteral("Left"), 1),
              StoreError::None);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(
        reg.readValue(QStringLiteral("HKEY_NOWHERE\\Software"), QStringLiteral("Left"))));
    EXPECT_FALSE(backend.keyExists(0, QStringLiteral("Software")));
}

TEST_F(StoreTest, TheIntegerRuleCoversEveryKindOfStoredValue) {
    const QString sub = QStringLiteral("Software\\Ovra Clock\\Tokyo");
    auto put = [&](const char* name, uint32_t type, const QByteArray& data) {
        ASSERT_EQ(
            backend.writeValue(rootkey::CurrentUser, sub, QString::fromLatin1(name), {type, data}),
            0);
    };
    put("Text", valuetype::String, "  -300 ");
    put("TextWithNul", valuetype::String, QByteArray("12\0junk", 7));
    put("NotANumber", valuetype::String, "twelve");
    put("Expand", valuetype::ExpandString, "5");
    put("ShortDword", valuetype::Dword, QByteArray("\x01\x02", 2));
    put("Qword", 11, QByteArray(8, '\x01'));
    put("TooLong", valuetype::String, QByteArray(kMaxTextBytes + 1, '7'));
    put("Longest", valuetype::String, QByteArray(kMaxTextBytes, '7'));

    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Text")), -300);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("TextWithNul")), 12);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("NotANumber")), std::nullopt);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Expand")), 5);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("ShortDword")), 0);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Qword")), 0);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Missing")), 0);
    EXPECT_EQ(reg.readText(kKey, QStringLiteral("TooLong")), QString());
    EXPECT_EQ(reg.readText(kKey, QStringLiteral("Longest")).size(), kMaxTextBytes);
    EXPECT_EQ(
        reg.readInteger(QStringLiteral("HKEY_CURRENT_USER\\No\\Such\\Key"), QStringLiteral("X")),
        0);
}

TEST_F(StoreTest, WritesOfUnsupportedKindsOrNonNumbersStoreNothing) {
    ASSERT_EQ(reg.writeInteger(kKey, QStringLiteral("Top"), 99), StoreError::None);
    EXPECT_NE(reg.writeValue(kKey, QStringLiteral("Top"), QStringLiteral("abc"), 4),
              StoreError::None);
    EXPECT_NE(reg.writeValue(kKey, QStringLiteral("Top"), QStringLiteral("1"), 3),
              StoreError::None);
    EXPECT_NE(reg.writeValue(kKey, QStringLiteral("Top"), QStringLiteral("99999999999"), 4),
              StoreError::None);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Top")), 99);
    EXPECT_EQ(reg.writeValue(kKey, QStringLiteral("Top"), QStringLiteral("2.5"), 4),
              StoreError::None);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Top")), 2);
}

TEST_F(StoreTest, DeletingValuesAndKeys) {
    const QString parent = QStringLiteral("HKEY_CURRENT_USER\\Software\\Ovra Clock");
    ASSERT_EQ(reg.writeInteger(kKey, QStringLiteral("Enable"), 1), StoreError::None);
    ASSERT_EQ(reg.writeInteger(kKey, QStringLiteral("Top"), 1), StoreError::None);
    EXPECT_EQ(reg.deleteValue(kKey, QStringLiteral("Top")), StoreError::None);
    EXPECT_EQ(reg.deleteValue(kKey, QStringLiteral("Top")), StoreError::NotFound);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Enable")), 1);

    // A key with sub-keys stays, as does everything under it.
    EXPECT_EQ(
        reg.deleteKey(QStringLiteral("HKEY_CURRENT_USER\\Software"), QStringLiteral("Ovra Clock")),
        StoreError::AccessDenied);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Enable")), 1);

    EXPECT_EQ(reg.deleteKey(parent, QStringLiteral("Tokyo")), StoreError::None);
    EXPECT_FALSE(
        backend.keyExists(rootkey::CurrentUser, QStringLiteral("Software\\Ovra Clock\\Tokyo")));
    EXPECT_TRUE(backend.keyExists(rootkey::CurrentUser, QStringLiteral("Software\\Ovra Clock")));
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Enable")), 0);

    // A parent that is a root alone deletes directly below the root.
    ASSERT_EQ(reg.writeInteger(QStringLiteral("HKEY_USERS\\Solo"), QStringLiteral("X"), 1),
              StoreError::None);
    EXPECT_EQ(reg.deleteKey(QStringLiteral("HKEY_USERS"), QStringLiteral("Solo")),
              StoreError::None);
    EXPECT_FALSE(backend.keyExists(rootkey::Users, QStringLiteral("Solo")));
}

TEST_F(StoreTest, ARolledBackTransactionLeavesTheOldValues) {
    ASSERT_EQ(reg.writeInteger(kKey, QStringLiteral("Top"), 1), StoreError::None);
    const StoreError rc = reg.transaction([&] {
        reg.writeInteger(kKey, QStringLiteral("Top"), 2);
        reg.writeInteger(kKey, QStringLiteral("Left"), 2);
        return false;
    });
    EXPECT_NE(rc, StoreError::None);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Top")), 1);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Left")), 0);
}

TEST(StoreFile, IsPrivateToTheUser) {
    test::TestHome home;
    SqliteStoreBackend backend(home.storePath());
    KeyStore reg(backend);
    ASSERT_EQ(reg.writeInteger(kKey, QStringLiteral("Top"), 1), StoreError::None);
    EXPECT_EQ(QFile::permissions(home.storePath()) &
                  (QFileDevice::ReadOther | QFileDevice::ReadGroup),
              QFileDevice::Permissions());
}

TEST(StoreFile, GarbageIsLeftUntouchedAndReadsAsEmpty) {
    test::TestHome home;
    QDir().mkpath(QFileInfo(home.storePath()).absolutePath());
    QFile f(home.storePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    const QByteArray garbage(8192, '\x5a');
    f.write(garbage);
    f.close();

    QStringList warnings;
    SqliteStoreBackend backend(home.storePath(), [&](const QString& w) { warnings << w; });
    KeyStore reg(backend);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Top")), 0);
    EXPECT_NE(reg.writeInteger(kKey, QStringLiteral("Top"), 1), StoreError::None);
    EXPECT_EQ(warnings.size(), 1) << "one clear warning, not one per access";
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), garbage);
}

TEST(StoreFile, AnotherProgramsDatabaseIsNeverWritten) {
    test::TestHome home;
    QDir().mkpath(QFileInfo(home.storePath()).absolutePath());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(home.storePath()).constData(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes(x); INSERT INTO notes VALUES('keep');", nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    QStringList warnings;
    SqliteStoreBackend backend(home.storePath(), [&](const QString& w) { warnings << w; });
    KeyStore reg(backend);
    EXPECT_NE(reg.writeInteger(kKey, QStringLiteral("Top"), 1), StoreError::None);
    EXPECT_EQ(warnings.size(), 1);

    ASSERT_EQ(sqlite3_open(QFile::encodeName(home.storePath()).constData(), &db), SQLITE_OK);
    int tables = -1;
    sqlite3_exec(
        db, "SELECT count(*) FROM sqlite_master",
        [](void* out, int, char** v, char**) {
            *static_cast<int*>(out) = atoi(v[0]);
            return 0;
        },
        &tables, nullptr);
    sqlite3_close(db);
    EXPECT_EQ(tables, 1);
}

TEST(StoreFile, ReadOnlyStoreStillReadsAndRefusesWrites) {
    test::TestHome home;
    {
        SqliteStoreBackend backend(home.storePath());
        KeyStore reg(backend);
        ASSERT_EQ(reg.writeInteger(kKey, QStringLiteral("Top"), 77), StoreError::None);
    }
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    QFile::setPermissions(home.storePath(), QFileDevice::ReadOwner);
    SqliteStoreBackend backend(home.storePath());
    KeyStore reg(backend);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Top")), 77);
    EXPECT_NE(reg.writeInteger(kKey, QStringLiteral("Top"), 1), StoreError::None);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Top")), 77);
}

namespace {
// Makes a file or folder impossible to write for as long as it lives, also for
// root: by its mode for other users, by the immutable flag for root.
class Unwritable {
public:
    explicit Unwritable(const QString& path) : m_path(QFile::encodeName(path)) {
        if (::geteuid() != 0) {
            m_done = ::chmod(m_path.constData(), 0500) == 0;
            return;
        }
        const int fd = ::open(m_path.constData(), O_RDONLY | O_NONBLOCK);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            m_done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0)
            ::close(fd);
    }
    ~Unwritable() {
        if (::geteuid() != 0) {
            ::chmod(m_path.constData(), 0700);
            return;
        }
        const int fd = ::open(m_path.constData(), O_RDONLY | O_NONBLOCK);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        if (fd >= 0)
            ::close(fd);
    }
    bool done() const { return m_done && ::access(m_path.constData(), W_OK) != 0; }

private:
    QByteArray m_path;
    bool m_done = false;
};

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A store with enough clocks to fill several pages.
void fillStore(const QString& path, int clocks) {
    SqliteStoreBackend backend(path);
    KeyStore reg(backend);
    for (int i = 0; i < clocks; ++i) {
        const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Ovra Clock\\C%1")
                                .arg(i, 4, 10, QChar(u'0'));
        ASSERT_EQ(reg.writeText(key, QStringLiteral("Note"), QString(100, QChar(u'a' + i % 26))),
                  StoreError::None);
        ASSERT_EQ(reg.writeInteger(key, QStringLiteral("Top"), i), StoreError::None);
    }
}
} // namespace

TEST(StoreFile, AStoreThatCannotBeWrittenIsReadAndSaysSoOnce) {
    const struct {
        const char* what;
        bool folder;
    } cases[] = {{"the folder cannot be written", true}, {"the file cannot be written", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        test::TestHome home;
        fillStore(home.storePath(), 3);
        const QByteArray before = contents(home.storePath());
        const QString key = QStringLiteral("HKEY_CURRENT_USER\\Software\\Ovra Clock\\C0002");
        Unwritable lock(c.folder ? QFileInfo(home.storePath()).path() : home.storePath());
        if (!lock.done())
            GTEST_SKIP() << "this file system cannot make the store unwritable";
        QStringList warnings;
        SqliteStoreBackend backend(home.storePath(), [&](const QString& w) { warnings << w; });
        KeyStore reg(backend);
        EXPECT_EQ(reg.readInteger(key, QStringLiteral("Top")), 2);
        EXPECT_NE(reg.writeInteger(key, QStringLiteral("Top"), 9), StoreError::None);
        EXPECT_NE(reg.deleteValue(key, QStringLiteral("Top")), StoreError::None);
        EXPECT_EQ(reg.readInteger(key, QStringLiteral("Top")), 2);
        EXPECT_TRUE(backend.readOnly());
        ASSERT_EQ(warnings.size(), 1) << qPrintable(warnings.join(u'\n'));
        EXPECT_TRUE(warnings.first().contains(QStringLiteral("not be saved")));
        EXPECT_EQ(contents(home.storePath()), before);
    }
}

TEST(StoreFile, ADamagedStoreIsNeverWritten) {
    test::TestHome home;
    fillStore(home.storePath(), 150);
    // A leaf page of the values, overwritten as a bad disk sector would.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(home.storePath()).constData(), &db), SQLITE_OK);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db,
                       "SELECT max(pageno), max(pgsize) FROM dbstat WHERE name='vals' AND "
                       "pagetype='leaf'",
                       -1, &st, nullptr);
    ASSERT_EQ(sqlite3_step(st), SQLITE_ROW);
    const int page = sqlite3_column_int(st, 0);
    const int pageSize = sqlite3_column_int(st, 1);
    sqlite3_finalize(st);
    sqlite3_close(db);
    ASSERT_GT(page, 2);
    {
        QFile f(home.storePath());
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(qint64(page - 1) * pageSize));
        f.write(QByteArray(pageSize, '\x5a'));
    }
    const QByteArray damaged = contents(home.storePath());

    QStringList warnings;
    {
        SqliteStoreBackend backend(home.storePath(), [&](const QString& w) { warnings << w; });
        KeyStore reg(backend);
        EXPECT_NE(reg.writeInteger(QStringLiteral("HKEY_CURRENT_USER\\Software\\Ovra Clock\\A"),
                                   QStringLiteral("Top"), 1),
                  StoreError::None);
        EXPECT_NE(reg.writeText(QStringLiteral("HKEY_CURRENT_USER\\Software\\Ovra Clock\\System"),
                                QStringLiteral("Clocks"), QStringLiteral("{A}")),
                  StoreError::None);
        EXPECT_TRUE(backend.readOnly());
    }
    ASSERT_EQ(warnings.size(), 1) << qPrintable(warnings.join(u'\n'));
    EXPECT_TRUE(warnings.first().contains(QStringLiteral("damaged")));
    EXPECT_EQ(contents(home.storePath()), damaged);
    EXPECT_FALSE(QFileInfo::exists(home.storePath() + QStringLiteral("-wal")) &&
                 QFileInfo(home.storePath() + QStringLiteral("-wal")).size() > 0);
}

TEST(StoreFile, AStoreLockedForAWhileIsWaitedFor) {
    test::TestHome home;
    SqliteStoreBackend first(home.storePath());
    KeyStore a(first);
    ASSERT_EQ(a.writeInteger(kKey, QStringLiteral("Top"), 1), StoreError::None);

    // Another process holds the write lock for 300 ms; our write waits, then lands.
    const pid_t child = fork();
    if (child == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(home.storePath()).constData(), &db);
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        FILE* ready =
            fopen(QFile::encodeName(home.path() + QStringLiteral("/locked")).constData(), "w");
        fclose(ready);
        usleep(300 * 1000);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        _exit(0);
    }
    while (!QFile::exists(home.path() + QStringLiteral("/locked")))
        usleep(1000);
    EXPECT_EQ(a.writeInteger(kKey, QStringLiteral("Top"), 2), StoreError::None);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(a.readInteger(kKey, QStringLiteral("Top")), 2);
}

// Another process writes back to back, letting the lock go for a fifth of a
// millisecond between writes of 20 ms: a waiter that only looks every 100 ms
// rarely sees a gap within its timeout, one that keeps looking gets in.
TEST(StoreFile, AWriterThatKeepsRetakingTheLockDoesNotStarveAnother) {
    test::TestHome home;
    SqliteStoreBackend first(home.storePath());
    KeyStore a(first);
    ASSERT_EQ(a.writeInteger(kKey, QStringLiteral("Top"), 1), StoreError::None);
    const QByteArray ready = QFile::encodeName(home.path() + QStringLiteral("/busy"));
    const pid_t child = fork();
    if (child == 0) {
        sqlite3* db = nullptr;
        sqlite3_open(QFile::encodeName(home.storePath()).constData(), &db);
        sqlite3_busy_timeout(db, 5000);
        for (int i = 0; i < 300; ++i) { // six seconds at most
            sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            if (i == 0)
                fclose(fopen(ready.constData(), "w"));
            usleep(20 * 1000);
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            usleep(200);
        }
        sqlite3_close(db);
        _exit(0);
    }
    while (!QFile::exists(QFile::decodeName(ready)))
        usleep(1000);
    EXPECT_EQ(a.writeInteger(kKey, QStringLiteral("Top"), 2), StoreError::None);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_EQ(a.readInteger(kKey, QStringLiteral("Top")), 2);
}

// Four processes open a store that does not exist yet at the same moment, as clocks
// started together at login do, then increment one counter in transactions.
TEST(StoreFile, ProcessesCreatingAndIncrementingAtOnceLoseNothing) {
    test::TestHome home;
    constexpr int kPerProcess = 75;
    pid_t children[4];
    for (pid_t& child : children) {
        child = fork();
        if (child == 0) {
            SqliteStoreBackend backend(home.storePath());
            KeyStore reg(backend);
            int failures = 0;
            for (int i = 0; i < kPerProcess; ++i) {
                const StoreError rc = reg.transaction([&] {
                    const auto n = reg.readInteger(kKey, QStringLiteral("Counter"));
                    return reg.writeInteger(kKey, QStringLiteral("Counter"), n.value_or(0) + 1) ==
                           StoreError::None;
                });
                failures += rc != StoreError::None;
            }
            _exit(failures == 0 ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    SqliteStoreBackend backend(home.storePath());
    KeyStore reg(backend);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Counter")), 4 * kPerProcess);
}

// A clock keeps its store open all day: what SQLite holds for it is counted in
// every clock's memory. The store is a few pages; SQLite's default sets aside a
// cache of 20 pages per connection up front.
TEST(StoreFile, AnOpenStoreHoldsLittleMemory) {
    test::TestHome home;
    SqliteStoreBackend backend(home.storePath());
    KeyStore reg(backend);
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(reg.writeInteger(kKey, QStringLiteral("Value%1").arg(i), i), StoreError::None);
    EXPECT_EQ(reg.readInteger(kKey, QStringLiteral("Value39")), 39);
    sqlite3_int64 used = 0, highest = 0;
    ASSERT_EQ(sqlite3_status64(SQLITE_STATUS_MEMORY_USED, &used, &highest, 0), SQLITE_OK);
    EXPECT_LT(used, 48 * 1024) << used << " bytes";
}

// The words a message uses for each error, and the number the ones without words
// of their own have always been reported with.
TEST(StoreError, MessagesNameTheProblemAsBefore) {
    const struct {
        StoreError error;
        const char* clock;
        const char* list;
    } cases[] = {
        {StoreError::Busy, "another program keeps it locked", "it is kept busy by another program"},
        {StoreError::Damaged, "it is damaged", "it is damaged"},
        {StoreError::AccessDenied, "access to it is denied", "access to it is denied"},
        {StoreError::CannotRead, "it cannot be opened or read",
         "it could not be opened or read (status 1012)"},
        {StoreError::CannotWrite, "error 1013", "it could not be opened or read (status 1013)"},
        {StoreError::NotFound, "error 2", "it could not be opened or read (status 2)"},
        {StoreError::InvalidPath, "error 6", "it could not be opened or read (status 6)"},
        {StoreError::InvalidArgument, "error 87", "it could not be opened or read (status 87)"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(storeProblem(c.error), QString::fromLatin1(c.clock));
        EXPECT_EQ(clockListStoreProblem(c.error), QString::fromLatin1(c.list));
    }
}
