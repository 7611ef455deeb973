#include "settings/keystore.h"

#include "base/textutil.h"

#include <QCoreApplication>
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

// The number an error has always been reported with, where a message names it.
int statusOf(StoreError error) {
    switch (error) {
    case StoreError::None:
        return status::Success;
    case StoreError::NotFound:
        return status::NotFound;
    case StoreError::AccessDenied:
        return status::AccessDenied;
    case StoreError::InvalidPath:
        return status::InvalidHandle;
    case StoreError::InvalidArgument:
        return status::InvalidParameter;
    case StoreError::Busy:
        return status::Busy;
    case StoreError::Damaged:
        return status::StoreCorrupt;
    case StoreError::CannotRead:
        return status::CannotRead;
    case StoreError::CannotWrite:
        break;
    }
    return status::CannotWrite;
}
} // namespace

StoreError KeyStore::errorOf(int status) {
    switch (status) {
    case status::Success:
        return StoreError::None;
    case status::NotFound:
        return StoreError::NotFound;
    case status::AccessDenied:
        return StoreError::AccessDenied;
    case status::InvalidHandle:
        return StoreError::InvalidPath;
    case status::InvalidParameter:
        return StoreError::InvalidArgument;
    case status::Busy:
        return StoreError::Busy;
    case status::StoreCorrupt:
        return StoreError::Damaged;
    case status::CannotRead:
        return StoreError::CannotRead;
    default:
        return StoreError::CannotWrite;
    }
}

QString storeProblem(StoreError error) {
    switch (error) {
    case StoreError::Busy:
        return QCoreApplication::translate("ClockApp", "another program keeps it locked");
    case StoreError::Damaged:
        return QCoreApplication::translate("ClockApp", "it is damaged");
    case StoreError::AccessDenied:
        return QCoreApplication::translate("ClockApp", "access to it is denied");
    case StoreError::CannotRead:
        return QCoreApplication::translate("ClockApp", "it cannot be opened or read");
    default:
        return QCoreApplication::translate("ClockApp", "error %1").arg(statusOf(error));
    }
}

QString clockListStoreProblem(StoreError error) {
    switch (error) {
    case StoreError::Busy:
        return QCoreApplication::translate("ClockList", "it is kept busy by another program");
    case StoreError::Damaged:
        return QCoreApplication::translate("ClockList", "it is damaged");
    case StoreError::AccessDenied:
        return QCoreApplication::translate("ClockList", "access to it is denied");
    default:
        return QCoreApplication::translate("ClockList",
                                           "it could not be opened or read (status %1)")
            .arg(statusOf(error));
    }
}

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

StoredValue KeyStore::readValue(const QString& keyPath, const QString& valueName,
                                StoreError* error) {
    StoreError ignored = StoreError::None;
    StoreError& rc = error ? *error : ignored;
    const KeyPath path = splitKeyPath(keyPath);
    if (path.root == 0) {
        rc = StoreError::NotFound;
        return {};
    }
    RawValue raw;
    rc = errorOf(m_backend.readValue(path.root, path.subKey, valueName, raw));
    if (rc != StoreError::None)
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

StoreError KeyStore::writeValue(const QString& keyPath, const QString& valueName,
                                const QString& value, int type) {
    const KeyPath path = splitKeyPath(keyPath);
    if (path.root == 0)
        return StoreError::InvalidPath;
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
            return StoreError::InvalidArgument;
        raw.type = valuetype::Dword;
        raw.data.resize(4);
        qToLittleEndian<quint32>(quint32(*number), raw.data.data());
        break;
    }
    default:
        return StoreError::InvalidArgument;
    }
    return errorOf(m_backend.writeValue(path.root, path.subKey, valueName, raw));
}

StoreError KeyStore::deleteValue(const QString& keyPath, const QString& valueName) {
    const KeyPath path = splitKeyPath(keyPath);
    if (path.root == 0)
        return StoreError::InvalidPath;
    return errorOf(m_backend.deleteValue(path.root, path.subKey, valueName));
}

bool KeyStore::keyExists(const QString& keyPath) {
    const KeyPath path = splitKeyPath(keyPath);
    return path.root != 0 && m_backend.keyExists(path.root, path.subKey);
}

StoreError KeyStore::deleteKey(const QString& parentPath, const QString& subKeyName) {
    const KeyPath path = splitKeyPath(parentPath);
    if (path.root == 0)
        return StoreError::InvalidPath;
    if (subKeyName.isEmpty())
        return StoreError::InvalidArgument;
    QString key = path.subKey;
    while (key.endsWith(u'\\'))
        key.chop(1);
    key = key.isEmpty() ? subKeyName : key + u'\\' + subKeyName;
    return errorOf(m_backend.deleteKey(path.root, key));
}

StoreError KeyStore::writeInteger(const QString& keyPath, const QString& valueName, int32_t value) {
    return writeValue(keyPath, valueName, QString::number(value), int(valuetype::Dword));
}

StoreError KeyStore::writeText(const QString& keyPath, const QString& valueName,
                               const QString& value) {
    return writeValue(keyPath, valueName, value, int(valuetype::String));
}

std::optional<int32_t> KeyStore::readInteger(const QString& keyPath, const QString& valueName,
                                             StoreError* error) {
    const StoredValue value = readValue(keyPath, valueName, error);
    if (const auto* number = std::get_if<int32_t>(&value))
        return *number;
    if (const auto* text = std::get_if<QString>(&value))
        return parseDecimalInt32(cleanString(*text));
    return 0;
}

QString KeyStore::readText(const QString& keyPath, const QString& valueName, StoreError* error) {
    const StoredValue value = readValue(keyPath, valueName, error);
    if (const auto* text = std::get_if<QString>(&value))
        return cleanString(*text);
    return {};
}

std::optional<QString> KeyStore::readWholeText(const QString& keyPath, const QString& valueName) {
    const KeyPath path = splitKeyPath(keyPath);
    if (path.root == 0)
        return QString();
    RawValue raw;
    const int rc = m_backend.readValue(path.root, path.subKey, valueName, raw);
    if (rc == status::NotFound)
        return QString();
    if (rc != status::Success)
        return std::nullopt;
    // Every kind that a text read takes for text counts here too, decoded the same way.
    if (raw.type == valuetype::Binary)
        return cleanString(QString::fromLatin1(raw.data));
    if (!isTextType(raw.type))
        return QString();
    return cleanString(QString::fromUtf8(raw.data));
}

} // namespace ovra
