#include "settings/sqlitestorebackend.h"

#include "base/privatepath.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <thread>

#include <unistd.h>

namespace ovra {

namespace {
// Marks the file as this store, so a foreign SQLite file is never written to.
constexpr int kApplicationId = 0x4F56524B; // "OVRK"

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS keys(
    root INTEGER NOT NULL, path TEXT NOT NULL,
    PRIMARY KEY(root, path)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS vals(
    root INTEGER NOT NULL, path TEXT NOT NULL, name TEXT NOT NULL,
    type INTEGER NOT NULL, data BLOB NOT NULL,
    PRIMARY KEY(root, path, name)) WITHOUT ROWID;
)sql";

constexpr const char* kRead = "SELECT type, data FROM vals WHERE root=?1 AND path=?2 AND name=?3";
constexpr const char* kKeyExists = "SELECT 1 FROM keys WHERE root=?1 AND path=?2";
constexpr const char* kInsertKey = "INSERT OR IGNORE INTO keys(root, path) VALUES(?1, ?2)";
constexpr const char* kWrite =
    "INSERT OR REPLACE INTO vals(root, path, name, type, data) VALUES(?1, ?2, ?3, ?4, ?5)";
constexpr const char* kDeleteValue = "DELETE FROM vals WHERE root=?1 AND path=?2 AND name=?3";
constexpr const char* kHasSubKeys =
    "SELECT 1 FROM keys WHERE root=?1 AND substr(path, 1, length(?2) + 1) = ?2 || '\\' LIMIT 1";
constexpr const char* kDeleteKeyValues = "DELETE FROM vals WHERE root=?1 AND path=?2";
constexpr const char* kDeleteKey = "DELETE FROM keys WHERE root=?1 AND path=?2";

void bindText(sqlite3_stmt* st, int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(st, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

// Resets the statement when the scope ends, so a kept statement never holds a
// read lock between accesses.
struct Reset {
    sqlite3_stmt* st;
    ~Reset() {
        if (st) {
            sqlite3_reset(st);
            sqlite3_clear_bindings(st);
        }
    }
};

bool canWrite(const QString& path) {
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

int mapError(int rc) {
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return status::Busy;
    case SQLITE_PERM:
    case SQLITE_CANTOPEN:
        return status::AccessDenied;
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return status::StoreCorrupt;
    default:
        return status::CannotWrite;
    }
}
} // namespace

SqliteStoreBackend::SqliteStoreBackend(QString path, Warning warn, int busyTimeoutMs, Access access)
    : m_path(std::move(path)), m_warn(std::move(warn)), m_busyTimeoutMs(busyTimeoutMs),
      m_access(access) {
    // SQLite sets aside 20 pages (some 90 KB) for each connection's cache up front;
    // the store holds a few pages, and a clock keeps its connection all day. Pages
    // are then taken as they are read. This must come before SQLite starts; if
    // something in the process started it already, it keeps its own setting.
    static const int pageCacheSetting = sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
    Q_UNUSED(pageCacheSetting);
}

SqliteStoreBackend::~SqliteStoreBackend() {
    for (sqlite3_stmt* st : std::as_const(m_statements))
        sqlite3_finalize(st);
    if (m_db)
        sqlite3_close(m_db);
}

void SqliteStoreBackend::warnOnce(const QString& text) {
    if (!m_warned && m_warn) {
        m_warned = true;
        m_warn(text);
    }
}

int SqliteStoreBackend::fail(int rc, const char* what) {
    const int code = mapError(rc);
    //: Completes "The settings store %1 cannot be %2".
    const QString readWord = QCoreApplication::translate("Settings", "read");
    //: Completes "The settings store %1 cannot be %2".
    const QString writtenWord = QCoreApplication::translate("Settings", "written");
    const QString verb = qstrcmp(what, "read") == 0 ? readWord : writtenWord;
    if (code == status::StoreCorrupt || code == status::AccessDenied ||
        (rc & 0xff) == SQLITE_READONLY) {
        warnOnce(QCoreApplication::translate(
                     "Settings", "The settings store %1 cannot be %2 (%3); settings are not saved "
                                 "until it is repaired or removed.")
                     .arg(QDir::toNativeSeparators(m_path), verb,
                          QString::fromUtf8(sqlite3_errstr(rc))));
    } else if ((rc & 0xff) == SQLITE_IOERR || (rc & 0xff) == SQLITE_FULL) {
        // A full disk or a failing one: say which, the caller says what it gave up.
        warnOnce(QCoreApplication::translate("Settings", "The settings store %1 cannot be %2: %3.")
                     .arg(QDir::toNativeSeparators(m_path), verb,
                          QString::fromUtf8(sqlite3_errstr(rc))));
    }
    return code;
}

bool SqliteStoreBackend::unreadable(sqlite3* db, int rc) {
    fail(rc, "read");
    sqlite3_close(db);
    // A store another process holds locked may be readable at the next try.
    m_unusable = (rc & 0xff) != SQLITE_BUSY;
    return false;
}

bool SqliteStoreBackend::ensureOpen() {
    if (m_db)
        return true;
    if (m_unusable || m_absent)
        return false;
    const QFileInfo info(m_path);
    const bool existed = info.exists();
    if (m_access == Access::ReadOnly)
        return openReadOnly(existed);
    if (!existed) {
        // Only this user may read the store: settings and the clock list are private.
        makePrivatePath(info.absolutePath());
        QFile::setPermissions(info.absolutePath(), QFileDevice::ReadOwner |
                                                       QFileDevice::WriteOwner |
                                                       QFileDevice::ExeOwner);
    }
    // A writable connection to a file that cannot be written fails on its first
    // read ("attempt to write a readonly database"), and the clocks would take
    // their stored settings for absent. The folder counts too: the journal lives
    // next to the file.
    const QString folder = info.absolutePath();
    if (!canWrite(folder) || (existed && !canWrite(m_path))) {
        m_writeRefusal = status::CannotWrite;
        warnOnce(QCoreApplication::translate(
                     "Settings", "The settings store %1 cannot be written; settings will not be "
                                 "saved.")
                     .arg(QDir::toNativeSeparators(m_path)));
        return openReadOnly(existed);
    }
    sqlite3* db = nullptr;
    int rc =
        sqlite3_open_v2(QFile::encodeName(m_path).constData(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        fail(rc, "opened");
        sqlite3_close(db);
        m_unusable = true;
        return false;
    }
    if (!existed)
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    sqlite3_busy_handler(db, &SqliteStoreBackend::busyWait, this);
    sqlite3_extended_result_codes(db, 1);

    int tables = 0;
    int appId = 0;
    rc = readHeader(db, &tables, &appId);
    if (rc != SQLITE_OK)
        return unreadable(db, rc);
    if (tables > 0 && appId != kApplicationId) {
        warnForeign();
        sqlite3_close(db);
        m_unusable = true;
        return false;
    }
    // A damaged file is never written: any write could spread the damage over
    // what is still readable. Closing a writable connection also writes (it folds
    // the journal into the file), so the store is opened again read only.
    if (tables > 0 && !checkIntegrity(db)) {
        sqlite3_close(db);
        m_writeRefusal = status::StoreCorrupt;
        warnOnce(QCoreApplication::translate(
                     "Settings", "The settings store %1 is damaged; it is left untouched and "
                                 "settings are not saved until it is repaired or removed.")
                     .arg(QDir::toNativeSeparators(m_path)));
        return openReadOnly(true);
    }
    char* err = nullptr;
    sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;", nullptr, nullptr,
                 nullptr);
    if (tables == 0) {
        const QByteArray init = QByteArray("BEGIN IMMEDIATE;") + kSchema +
                                "PRAGMA application_id=" + QByteArray::number(kApplicationId) +
                                "; COMMIT;";
        rc = sqlite3_exec(db, init.constData(), nullptr, nullptr, &err);
        sqlite3_free(err);
        if (rc != SQLITE_OK) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
            // A read-only location still lets an empty store be read as empty.
            fail(rc, "written");
            sqlite3_close(db);
            return false;
        }
    }
    m_db = db;
    return true;
}

bool SqliteStoreBackend::openReadOnly(bool existed) {
    if (m_writeRefusal == status::Success)
        m_writeRefusal = status::CannotWrite;
    if (!existed) {
        m_absent = true;
        return false;
    }
    auto open = [&](const char* query, sqlite3** db) {
        const QByteArray uri =
            "file:" +
            QFile::encodeName(QFileInfo(m_path).absoluteFilePath()).toPercentEncoding("/") + query;
        const int rc =
            sqlite3_open_v2(uri.constData(), db,
                            SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
        if (rc == SQLITE_OK) {
            sqlite3_busy_handler(*db, &SqliteStoreBackend::busyWait, this);
            sqlite3_extended_result_codes(*db, 1);
        }
        return rc;
    };
    sqlite3* db = nullptr;
    int tables = 0;
    int appId = 0;
    int rc = open("?mode=ro", &db);
    if (rc == SQLITE_OK)
        rc = readHeader(db, &tables, &appId);
    // A reader of a journalled store needs its shared-memory file, which a folder
    // that cannot be written does not let it create. Without a journal file the
    // main file holds every change, and it can be read as it lies.
    if (rc != SQLITE_OK && (rc & 0xff) != SQLITE_BUSY && !QFileInfo::exists(m_path + "-wal")) {
        sqlite3_close(db);
        db = nullptr;
        rc = open("?immutable=1", &db);
        if (rc == SQLITE_OK)
            rc = readHeader(db, &tables, &appId);
    }
    if (rc != SQLITE_OK)
        return unreadable(db, rc);
    if (tables == 0) {
        // Empty: nothing stored yet, and nothing may be created.
        sqlite3_close(db);
        m_absent = true;
        return false;
    }
    if (appId != kApplicationId) {
        warnForeign();
        sqlite3_close(db);
        m_unusable = true;
        return false;
    }
    m_db = db;
    return true;
}

// Reading the header tells a foreign or damaged file apart before anything is
// written. Both numbers come from one statement, so they are one snapshot even
// while another clock process is creating the store at this very moment.
int SqliteStoreBackend::readHeader(sqlite3* db, int* tables, int* appId) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db,
                                "SELECT (SELECT count(*) FROM sqlite_master), "
                                "(SELECT application_id FROM pragma_application_id)",
                                -1, &st, nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(st)) == SQLITE_ROW) {
        *tables = sqlite3_column_int(st, 0);
        *appId = sqlite3_column_int(st, 1);
        rc = SQLITE_OK;
    }
    sqlite3_finalize(st);
    return rc;
}

bool SqliteStoreBackend::checkIntegrity(sqlite3* db) {
    sqlite3_stmt* st = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &st, nullptr);
    bool damaged = false;
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(st);
        damaged =
            rc == SQLITE_ROW
                ? qstrcmp(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)), "ok") != 0
                : mapError(rc) == status::StoreCorrupt;
    } else {
        damaged = mapError(rc) == status::StoreCorrupt;
    }
    sqlite3_finalize(st);
    // A check that could not run (a busy store) says nothing about the file.
    return !damaged;
}

void SqliteStoreBackend::warnForeign() {
    warnOnce(QCoreApplication::translate(
                 "Settings", "The settings store %1 belongs to another program; it is left "
                             "untouched and settings are not saved.")
                 .arg(QDir::toNativeSeparators(m_path)));
}

// SQLite's own busy wait sleeps up to 100 ms between tries. Clocks that write in
// quick succession then take the lock again and again in between, and a waiter
// gives up after its whole timeout although each holder kept the lock for well
// under a millisecond. Short sleeps with jitter keep it in the race.
int SqliteStoreBackend::busyWait(void* self, int attempt) {
    auto* backend = static_cast<SqliteStoreBackend*>(self);
    const auto now = std::chrono::steady_clock::now();
    if (attempt == 0)
        backend->m_busySince = now;
    if (now - backend->m_busySince >= std::chrono::milliseconds(backend->m_busyTimeoutMs))
        return 0;
    std::this_thread::sleep_for(
        std::chrono::microseconds(250 + QRandomGenerator::global()->bounded(1750)));
    return 1;
}

sqlite3_stmt* SqliteStoreBackend::statement(const char* sql) {
    if (sqlite3_stmt* st = m_statements.value(sql))
        return st;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &st, nullptr) != SQLITE_OK) {
        sqlite3_finalize(st);
        return nullptr;
    }
    m_statements.insert(sql, st);
    return st;
}

int SqliteStoreBackend::readValue(uint32_t root, const QString& key, const QString& name,
                                  RawValue& out) {
    if (!ensureOpen())
        return m_absent ? status::NotFound : status::CannotRead;
    sqlite3_stmt* st = statement(kRead);
    if (!st)
        return fail(sqlite3_errcode(m_db), "read");
    Reset reset{st};
    sqlite3_bind_int64(st, 1, root);
    bindText(st, 2, key);
    bindText(st, 3, name);
    const int rc = sqlite3_step(st);
    if (rc == SQLITE_DONE)
        return status::NotFound;
    if (rc != SQLITE_ROW)
        return fail(rc, "read");
    out.type = uint32_t(sqlite3_column_int64(st, 0));
    const void* blob = sqlite3_column_blob(st, 1);
    out.data = QByteArray(static_cast<const char*>(blob), sqlite3_column_bytes(st, 1));
    return status::Success;
}

bool SqliteStoreBackend::keyExists(uint32_t root, const QString& key) {
    if (key.isEmpty())
        return true; // a root always exists
    if (!ensureOpen())
        return false;
    sqlite3_stmt* st = statement(kKeyExists);
    if (!st)
        return false;
    Reset reset{st};
    sqlite3_bind_int64(st, 1, root);
    bindText(st, 2, key);
    return sqlite3_step(st) == SQLITE_ROW;
}

int SqliteStoreBackend::runWrite(const std::function<int()>& body) {
    if (!ensureOpen() || readOnly())
        return readOnly() ? m_writeRefusal : status::CannotWrite;
    if (m_depth > 0)
        return body();
    int result = status::Success;
    const int rc = transaction([&] {
        result = body();
        return result == status::Success;
    });
    return result != status::Success ? result : rc;
}

int SqliteStoreBackend::createKeyChain(uint32_t root, const QString& key) {
    sqlite3_stmt* st = statement(kInsertKey);
    if (!st)
        return fail(sqlite3_errcode(m_db), "written");
    qsizetype from = 0;
    while (true) {
        const qsizetype sep = key.indexOf(u'\\', from);
        const QString part = sep < 0 ? key : key.left(sep);
        if (!part.isEmpty()) {
            Reset reset{st};
            sqlite3_bind_int64(st, 1, root);
            bindText(st, 2, part);
            const int rc = sqlite3_step(st);
            if (rc != SQLITE_DONE)
                return fail(rc, "written");
        }
        if (sep < 0)
            return status::Success;
        from = sep + 1;
    }
}

int SqliteStoreBackend::writeValue(uint32_t root, const QString& key, const QString& name,
                                   const RawValue& value) {
    return runWrite([&]() -> int {
        if (const int rc = createKeyChain(root, key); rc != status::Success)
            return rc;
        sqlite3_stmt* st = statement(kWrite);
        if (!st)
            return fail(sqlite3_errcode(m_db), "written");
        Reset reset{st};
        sqlite3_bind_int64(st, 1, root);
        bindText(st, 2, key);
        bindText(st, 3, name);
        sqlite3_bind_int64(st, 4, value.type);
        sqlite3_bind_blob(st, 5, value.data.constData(), int(value.data.size()), SQLITE_TRANSIENT);
        const int rc = sqlite3_step(st);
        return rc == SQLITE_DONE ? status::Success : fail(rc, "written");
    });
}

int SqliteStoreBackend::deleteValue(uint32_t root, const QString& key, const QString& name) {
    return runWrite([&]() -> int {
        if (!keyExists(root, key))
            return status::NotFound;
        sqlite3_stmt* st = statement(kDeleteValue);
        if (!st)
            return fail(sqlite3_errcode(m_db), "written");
        Reset reset{st};
        sqlite3_bind_int64(st, 1, root);
        bindText(st, 2, key);
        bindText(st, 3, name);
        const int rc = sqlite3_step(st);
        if (rc != SQLITE_DONE)
            return fail(rc, "written");
        return sqlite3_changes(m_db) > 0 ? status::Success : status::NotFound;
    });
}

int SqliteStoreBackend::deleteKey(uint32_t root, const QString& key) {
    if (key.isEmpty())
        return status::AccessDenied; // a root cannot be deleted
    return runWrite([&]() -> int {
        if (!keyExists(root, key))
            return status::NotFound;
        {
            sqlite3_stmt* st = statement(kHasSubKeys);
            if (!st)
                return fail(sqlite3_errcode(m_db), "read");
            Reset reset{st};
            sqlite3_bind_int64(st, 1, root);
            bindText(st, 2, key);
            if (sqlite3_step(st) == SQLITE_ROW)
                return status::AccessDenied;
        }
        for (const char* sql : {kDeleteKeyValues, kDeleteKey}) {
            sqlite3_stmt* st = statement(sql);
            if (!st)
                return fail(sqlite3_errcode(m_db), "written");
            Reset reset{st};
            sqlite3_bind_int64(st, 1, root);
            bindText(st, 2, key);
            const int rc = sqlite3_step(st);
            if (rc != SQLITE_DONE)
                return fail(rc, "written");
        }
        return status::Success;
    });
}

int SqliteStoreBackend::transaction(const std::function<bool()>& fn) {
    if (!ensureOpen() && !m_absent)
        return status::CannotWrite;
    // Reads inside fn still work on a store that is read only; its writes are refused.
    if (readOnly())
        return fn() ? status::Success : m_writeRefusal;
    if (m_depth > 0)
        return fn() ? status::Success : status::CannotWrite;
    // IMMEDIATE takes the write lock up front, so a read-modify-write never has to
    // upgrade a read lock and cannot deadlock against another process.
    int rc = sqlite3_exec(m_db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return fail(rc, "written");
    ++m_depth;
    bool ok = false;
    try {
        ok = fn();
    } catch (...) {
        --m_depth;
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
    --m_depth;
    if (!ok) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return status::CannotWrite;
    }
    rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        return fail(rc, "written");
    }
    return status::Success;
}

} // namespace ovra
