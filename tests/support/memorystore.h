#pragma once

#include "settings/storebackend.h"

#include <QMap>
#include <QString>

#include <functional>
#include <tuple>

namespace ovra::test {

// The store in memory, for tests that are about the callers rather than SQLite: keys
// come with their values and their parents, a key with subkeys is not deleted, and
// a transaction that returns false is rolled back, as in the real store.
class MemoryStoreBackend final : public StoreBackend {
public:
    int readValue(uint32_t root, const QString& key, const QString& name, RawValue& out) override;
    int writeValue(uint32_t root, const QString& key, const QString& name,
                   const RawValue& value) override;
    int deleteValue(uint32_t root, const QString& key, const QString& name) override;
    int deleteKey(uint32_t root, const QString& key) override;
    bool keyExists(uint32_t root, const QString& key) override;
    int transaction(const std::function<bool()>& fn) override;

    bool failWrites = false;
    // The next this many writes fail as a store that another program keeps busy.
    int busyWrites = 0;
    // When not Success, every read fails with this status.
    int failReads = status::Success;
    // The next this many reads fail with readFailure, as a store that is locked by
    // another program or cannot be read.
    int readsToFail = 0;
    int readFailure = status::Busy;
    int readAttempts = 0;
    int transactions = 0;

private:
    using ValueKey = std::tuple<uint32_t, QString, QString>;
    QMap<ValueKey, RawValue> m_values;
    QMap<std::pair<uint32_t, QString>, bool> m_keys;
};

} // namespace ovra::test
