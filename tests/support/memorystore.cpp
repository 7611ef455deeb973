#include "support/memorystore.h"

namespace ovra::test {

int MemoryStoreBackend::readValue(uint32_t root, const QString& key, const QString& name,
                                  RawValue& out) {
    ++readAttempts;
    if (failReads != status::Success)
        return failReads;
    if (readsToFail > 0) {
        --readsToFail;
        return readFailure;
    }
    const auto it = m_values.constFind({root, key, name});
    if (it == m_values.cend())
        return status::NotFound;
    out = it.value();
    return status::Success;
}

int MemoryStoreBackend::writeValue(uint32_t root, const QString& key, const QString& name,
                                   const RawValue& value) {
    if (failWrites)
        return status::CannotWrite;
    if (busyWrites > 0) {
        --busyWrites;
        return status::Busy;
    }
    QString part;
    for (const QString& component : key.split(u'\\')) {
        part = part.isEmpty() ? component : part + u'\\' + component;
        m_keys.insert({root, part}, true);
    }
    m_values.insert({root, key, name}, value);
    return status::Success;
}

int MemoryStoreBackend::deleteValue(uint32_t root, const QString& key, const QString& name) {
    if (failWrites)
        return status::CannotWrite;
    return m_values.remove({root, key, name}) ? status::Success : status::NotFound;
}

int MemoryStoreBackend::deleteKey(uint32_t root, const QString& key) {
    if (failWrites)
        return status::CannotWrite;
    if (!m_keys.contains({root, key}))
        return status::NotFound;
    for (auto it = m_keys.cbegin(); it != m_keys.cend(); ++it)
        if (it.key().first == root && it.key().second.startsWith(key + u'\\'))
            return status::AccessDenied;
    m_keys.remove({root, key});
    for (auto it = m_values.begin(); it != m_values.end();) {
        if (std::get<0>(it.key()) == root && std::get<1>(it.key()) == key)
            it = m_values.erase(it);
        else
            ++it;
    }
    return status::Success;
}

bool MemoryStoreBackend::keyExists(uint32_t root, const QString& key) {
    if (failReads != status::Success)
        return key.isEmpty();
    return key.isEmpty() || m_keys.contains({root, key});
}

int MemoryStoreBackend::transaction(const std::function<bool()>& fn) {
    ++transactions;
    const auto values = m_values;
    const auto keys = m_keys;
    if (fn())
        return status::Success;
    m_values = values;
    m_keys = keys;
    return status::CannotWrite;
}

} // namespace ovra::test
