#pragma once

// A store in memory for the fuzz targets: keys are created with their values,
// deleting a key takes its values, and a transaction that returns false is rolled
// back, as the real store does.
#include "settings/storebackend.h"

#include <QMap>
#include <QSet>

namespace ovra::fuzz {

class MemoryStore final : public StoreBackend {
public:
    int readValue(uint32_t root, const QString& key, const QString& name, RawValue& out) override {
        const auto it = m_values.constFind(id(root, key, name));
        if (it == m_values.cend())
            return status::NotFound;
        out = *it;
        return status::Success;
    }
    int writeValue(uint32_t root, const QString& key, const QString& name,
                   const RawValue& value) override {
        m_keys.insert(id(root, key, {}));
        m_values.insert(id(root, key, name), value);
        return status::Success;
    }
    int deleteValue(uint32_t root, const QString& key, const QString& name) override {
        return m_values.remove(id(root, key, name)) ? status::Success : status::NotFound;
    }
    int deleteKey(uint32_t root, const QString& key) override {
        if (!m_keys.remove(id(root, key, {})))
            return status::NotFound;
        const QString prefix = id(root, key, {});
        for (auto it = m_values.begin(); it != m_values.end();)
            it = it.key().startsWith(prefix) ? m_values.erase(it) : std::next(it);
        return status::Success;
    }
    bool keyExists(uint32_t root, const QString& key) override {
        return m_keys.contains(id(root, key, {}));
    }
    int transaction(const std::function<bool()>& fn) override {
        const auto values = m_values;
        const auto keys = m_keys;
        if (fn())
            return status::Success;
        m_values = values;
        m_keys = keys;
        return status::CannotWrite;
    }

private:
    // NUL cannot occur in a name that reaches the store, so it separates the parts.
    static QString id(uint32_t root, const QString& key, const QString& name) {
        return QString::number(root) + QChar(u'\0') + key + QChar(u'\0') + name;
    }

    QMap<QString, RawValue> m_values;
    QSet<QString> m_keys;
};

} // namespace ovra::fuzz
