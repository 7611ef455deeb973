// Any full path and any stored value through the store's access layer.
#include "fuzz/fuzzcheck.h"
#include "settings/keystore.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QMap>

#include <cstdlib>

using namespace ovra;

namespace {
// Holds whatever the input says is stored, and what the layer writes.
class FuzzBackend final : public StoreBackend {
public:
    QMap<QString, RawValue> values;
    int readValue(uint32_t root, const QString& key, const QString& name, RawValue& out) override {
        const auto it = values.constFind(id(root, key, name));
        if (it == values.cend())
            return status::NotFound;
        out = *it;
        return status::Success;
    }
    int writeValue(uint32_t root, const QString& key, const QString& name,
                   const RawValue& value) override {
        values.insert(id(root, key, name), value);
        return status::Success;
    }
    int deleteValue(uint32_t root, const QString& key, const QString& name) override {
        return values.remove(id(root, key, name)) ? status::Success : status::NotFound;
    }
    int deleteKey(uint32_t, const QString&) override { return status::Success; }
    bool keyExists(uint32_t, const QString&) override { return true; }
    int transaction(const std::function<bool()>& fn) override {
        return fn() ? status::Success : status::CannotWrite;
    }
    static QString id(uint32_t root, const QString& key, const QString& name) {
        return QString::number(root) + u'|' + key + u'|' + name;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider fdp(data, size);
    const QString path = QString::fromUtf8(fdp.ConsumeRandomLengthString(512));
    const uint32_t type = fdp.ConsumeIntegralInRange<uint32_t>(0, 12);
    const std::string bytes = fdp.ConsumeRemainingBytesAsString();

    const KeyPath split = splitKeyPath(path);
    const qsizetype sep = path.indexOf(u'\\');
    CHECK(split.subKey == (sep < 0 ? QString() : path.mid(sep + 1)));

    FuzzBackend backend;
    KeyStore reg(backend);
    if (split.root != 0)
        backend.values.insert(FuzzBackend::id(split.root, split.subKey, QStringLiteral("V")),
                              RawValue{type, QByteArray(bytes.data(), qsizetype(bytes.size()))});

    const StoredValue value = reg.readValue(path, QStringLiteral("V"));
    if (const auto* text = std::get_if<QString>(&value))
        CHECK(bytes.size() <= size_t(kMaxTextBytes));
    if (split.root == 0)
        CHECK(std::holds_alternative<std::monostate>(value));
    (void)reg.readText(path, QStringLiteral("V"));
    const std::optional<int32_t> number = reg.readInteger(path, QStringLiteral("V"));
    if (std::holds_alternative<std::monostate>(value))
        CHECK(number == 0);

    // Whatever text is written as a number reads back as that number, or is refused.
    const QString asText = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    const std::optional<int32_t> parsed = parseDecimalInt32(asText);
    const StoreError rc = reg.writeValue(path, QStringLiteral("W"), asText, 4);
    if (split.root != 0) {
        CHECK((rc == StoreError::None) == parsed.has_value());
        if (parsed)
            CHECK(reg.readInteger(path, QStringLiteral("W")) == parsed);
    } else {
        CHECK(rc != StoreError::None);
    }
    return 0;
}
