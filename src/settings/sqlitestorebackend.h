#pragma once

#include "settings/storebackend.h"

#include <QHash>

#include <chrono>
#include <functional>

struct sqlite3;
struct sqlite3_stmt;

namespace ovra {

// The store as one SQLite file shared by every clock process of the user. WAL lets
// readers work while one process writes; each access is one transaction, so a
// crash leaves either the old or the new values.
class SqliteStoreBackend final : public StoreBackend {
public:
    using Warning = std::function<void(const QString&)>;

    enum class Access {
        // Writes when the file and its folder can be written and the file passes
        // its integrity check; otherwise it is read only, with one warning.
        ReadWrite,
        // Never creates, changes or converts the file; a missing store reads empty.
        ReadOnly,
    };

    // The file is opened on first use. warn receives a one-time explanation when
    // the store cannot be used (not a database, not writable, damaged); stored
    // data is never replaced or deleted to recover.
    explicit SqliteStoreBackend(QString path, Warning warn = {}, int busyTimeoutMs = 3000,
                                Access access = Access::ReadWrite);
    ~SqliteStoreBackend() override;
    SqliteStoreBackend(const SqliteStoreBackend&) = delete;
    SqliteStoreBackend& operator=(const SqliteStoreBackend&) = delete;

    int readValue(uint32_t root, const QString& key, const QString& name, RawValue& out) override;
    int writeValue(uint32_t root, const QString& key, const QString& name,
                   const RawValue& value) override;
    int deleteValue(uint32_t root, const QString& key, const QString& name) override;
    int deleteKey(uint32_t root, const QString& key) override;
    bool keyExists(uint32_t root, const QString& key) override;
    int transaction(const std::function<bool()>& fn) override;

    const QString& path() const { return m_path; }

    // After the first access: whether changes are refused, and with which status.
    bool readOnly() const { return m_writeRefusal != status::Success; }

private:
    bool ensureOpen();
    bool openReadOnly(bool existed);
    bool checkIntegrity(sqlite3* db);
    static int readHeader(sqlite3* db, int* tables, int* appId);
    void warnForeign();
    void warnOnce(const QString& text);
    int fail(int rc, const char* what);
    // Reports a store that could not be read, closes db and returns false.
    bool unreadable(sqlite3* db, int rc);
    sqlite3_stmt* statement(const char* sql);
    int runWrite(const std::function<int()>& body);
    int createKeyChain(uint32_t root, const QString& key);
    // SQLite's busy handler: true (non-zero) to try again.
    static int busyWait(void* self, int attempt);

    QString m_path;
    Warning m_warn;
    int m_busyTimeoutMs;
    std::chrono::steady_clock::time_point m_busySince;
    sqlite3* m_db = nullptr;
    Access m_access;
    bool m_unusable = false;
    bool m_absent = false; // read-only and no file: everything reads as missing
    int m_writeRefusal = status::Success;
    bool m_warned = false;
    int m_depth = 0;
    QHash<const char*, sqlite3_stmt*> m_statements;
};

} // namespace ovra
