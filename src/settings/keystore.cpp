#include "settings/keystore.h"

#include "base/textutil.h"

#include <QtEndian>

#include <cmath>

namespace ovra {

namespace {
struct RootName {
    const char16_t* name;
    uint32_t key;
};
constexpr RootName kRoots[] = {
    {u"HKEY_CLASSES_ROOT", rootkey::ClassesRoot},
    {u"HKEY_CURRENT_USER", rootkey::CurrentUser},
    {u"HKEY_LOCAL_MACHINE", rootkey::LocalMachine},
    {u"HKEY_USERS", rootkey::Users},
    {u"HKEY_PERFORMANCE_DATA", rootkey::PerformanceData},
    {u"HKEY_CURRENT_CONFIG", rootkey::CurrentConfig},
    {u"HKEY_DYN_DATA", rootkey::DynData},
};

bool isTextType(uint32_t type) {
    return type == valuetype::String || type == valuetype::ExpandString ||
           type == valuetype::Binary || type == valuetype::MultiString;
}
} // namespace

KeyPath splitKeyPath(const QString& fullPath) {
    const qsizetype sep = fullPath.indexOf(u'\\');
    const QString rootName = sep < 0 ? fullPath : fullPath.left(sep);
    KeyPath result;
    result.subKey = sep < 0 ? QString() : fullPath.mid(sep + 1);
    for (const auto& r : kRoots) {
        if (rootName.compare(QStringView(r.name), Qt::CaseInsensitive) == 0) {
            result.root = r.key;
            break;
        }
    }
    return result;
}

std::optional<int32_t> parseDecimalInt32(const QString& input) {
    const QString text = input.trimmed();
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    const qsizetype digitsStart = i;
    while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80)
        ++i;
    qsizetype digits = i - digitsStart;
    qsizetype fracDigits = 0;
    if (i < text.size() && text[i] == u'.') {
        ++i;
        const qsizetype fracStart = i;
        while (i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80)
            ++i;
        fracDigits = i - fracStart;
    }
    if (i != text.size() || digits + fracDigits == 0)
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    // Round half to even, as the stored numbers have always been rounded.
    const double rounded = std::nearbyint(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0)
        return std::nullopt;
    return int32_t(rounded);
}

StoredValue KeyStore::readValue(const QString& keyPath, const QString& valueName, int* status) {
    int ignored = 0;
    int& rc = status ? *status : ignored;
    const KeyPath path = splitKeyPath(keyPath);
    if (path.root == 0) {
        rc = status::NotFound;
        return {};
    }
    RawValue raw;
    rc = m_backend.readValue(path.root, path.subKey, valueName, raw);
    if (rc != status::Success)
        return {};
    if (raw.type == valuetype::Dword) {
        if (raw.data.size() != 4)
            return {};
        return int32_t(qFromLittleEndian<quint32>(raw.data.constData()));
    }
    if (isTextType(raw.type)) {
        if (raw.data.size() > kMaxTextBytes)
            return {};
        if (raw.type == valuetype::Binary)
            return QString::fromLatin1(raw.data);
        return QString::fromUtf8(raw.data);
    }
    return {};
}

int KeyStore::writeValue(const QString& keyPath, const QString& valueName, const QString& value,
                         int type) {
    const KeyPath path = splitKeyPath(keyPath);
    if (path.root == 0)
        return status::InvalidHandle;
    RawValue raw;
    switch (type) {
    case int(valuetype::String):
    case int(valuetype::ExpandString):
        raw.type = uint32_t(type);
        raw.data = value.toUtf8();
        break;
    case int(valuetype::Dword): {
        const auto number = parseDecimalInt32(value);
        if (!number)
            return status::InvalidParameter;
        raw.type = valuetype::Dword;
        raw.data.resize(4);
        qToLittleEndian<quint32>(quint32(*number), raw.data.data());
        break;
    }
    default:
        return status::InvalidParameter;
    }
    return m_backend.writeValue(path.root, path.subKey, valueName, raw);
}

int KeyStore::deleteValue(const QString& keyPath, const QString& valueName) {
    const KeyPath path = splitKeyPath(keyPath);
    if (path.root == 0)
        return status::InvalidHandle;
    return m_backend.deleteValue(path.root, path.subKey, valueName);
}

int KeyStore::deleteKey(const QString& parentPath, const QString& subKeyName) {
    const KeyPath path = splitKeyPath(parentPath);
    if (path.root == 0)
        return status::InvalidHandle;
    if (subKeyName.isEmpty())
        return status::InvalidParameter;
    QString key = path.subKey;
    while (key.endsWith(u'\\'))
        key.chop(1);
    key = key.isEmpty() ? subKeyName : key + u'\\' + subKeyName;
    return m_backend.deleteKey(path.root, key);
}

int KeyStore::writeInteger(const QString& keyPath, const QString& valueName, int32_t value) {
    return writeValue(keyPath, valueName, QString::number(value), int(valuetype::Dword));
}

int KeyStore::writeText(const QString& keyPath, const QString& valueName, const QString& value) {
    return writeValue(keyPath, valueName, value, int(valuetype::String));
}

std::optional<int32_t> KeyStore::readInteger(const QString& keyPath, const QString& valueName,
                                             int* status) {
    const StoredValue value = readValue(keyPath, valueName, status);
    if (const auto* number = std::get_if<int32_t>(&value))
        return *number;
    if (const auto* text = std::get_if<QString>(&value))
        return parseDecimalInt32(cleanString(*text));
    return 0;
}

QString KeyStore::readText(const QString& keyPath, const QString& valueName, int* status) {
    const StoredValue value = readValue(keyPath, valueName, status);
    if (const auto* text = std::get_if<QString>(&value))
        return cleanString(*text);
    return {};
}

} // namespace ovra
