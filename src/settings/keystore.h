#pragma once

#include "settings/storebackend.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <variant>

namespace ovra {

// The root keys a full path may start with, numbered as the platform numbers them.
namespace rootkey {
inline constexpr uint32_t ClassesRoot = 0x80000000u;
inline constexpr uint32_t CurrentUser = 0x80000001u;
inline constexpr uint32_t LocalMachine = 0x80000002u;
inline constexpr uint32_t Users = 0x80000003u;
inline constexpr uint32_t PerformanceData = 0x80000004u;
inline constexpr uint32_t CurrentConfig = 0x80000005u;
inline constexpr uint32_t DynData = 0x80000006u;
} // namespace rootkey

// What a store access ran into. None is success; NotFound is an absent value or
// key, which readers take for "no value" rather than a failure.
enum class StoreError {
    None,
    NotFound,
    AccessDenied,    // a key that still holds keys, a root, a file not ours to open
    InvalidPath,     // a path that names no root
    InvalidArgument, // a value of no known kind, a number that is none
    Busy,            // another program keeps the store locked
    Damaged,
    CannotRead,
    CannotWrite,
};

// Whether the store could be used: success, or only an absent value.
inline bool storeReadable(StoreError error) {
    return error == StoreError::None || error == StoreError::NotFound;
}

// What is wrong with the store, as a clock's own messages put it ("it is damaged").
QString storeProblem(StoreError error);
// What is wrong with the store, as the clock list's messages put it.
QString clockListStoreProblem(StoreError error);

// Longest text value the store hands back, in bytes; longer ones read as no value.
inline constexpr int kMaxTextBytes = 1024;

struct KeyPath {
    uint32_t root = 0; // 0 for an unknown root name
    QString subKey;
};

// Root = the text before the first "\" (case-insensitive), sub-key = the rest.
KeyPath splitKeyPath(const QString& fullPath);

// No value, a 32-bit integer, or a text.
using StoredValue = std::variant<std::monostate, int32_t, QString>;

// Reads a number the way the store hands numbers to callers: decimal, optional
// sign and fraction, rounded half to even into 32 bits. Nothing when the text is
// not such a number or does not fit.
std::optional<int32_t> parseDecimalInt32(const QString& text);

// The access layer: every store access of the program goes through full text paths
// such as "HKEY_CURRENT_USER\Software\Ovra Clock\Tokyo".
class KeyStore {
public:
    explicit KeyStore(StoreBackend& backend) : m_backend(backend) {}

    // error, when given, receives NotFound for a value that is absent and another
    // error when the store could not be read: only the first means "no value".
    StoredValue readValue(const QString& keyPath, const QString& valueName,
                          StoreError* error = nullptr);
    // type 1 and 2 write text; type 4 writes the text read as a number; any other
    // type writes nothing.
    StoreError writeValue(const QString& keyPath, const QString& valueName, const QString& value,
                          int type);
    StoreError deleteValue(const QString& keyPath, const QString& valueName);
    StoreError deleteKey(const QString& parentPath, const QString& subKeyName);
    bool keyExists(const QString& keyPath);

    StoreError writeInteger(const QString& keyPath, const QString& valueName, int32_t value);
    StoreError writeText(const QString& keyPath, const QString& valueName, const QString& value);

    // The one rule for turning a stored value into an integer: no value is 0, an
    // integer is taken as it is, a text is read as a decimal number. Nothing when
    // the text is not a number, so the caller keeps what it had.
    std::optional<int32_t> readInteger(const QString& keyPath, const QString& valueName,
                                       StoreError* error = nullptr);
    // A text value, cleaned; empty when there is none.
    QString readText(const QString& keyPath, const QString& valueName, StoreError* error = nullptr);
    // A text value whole, also one longer than readText hands back, cleaned; empty
    // when there is none or it is no text. Nothing when the store cannot be read.
    std::optional<QString> readWholeText(const QString& keyPath, const QString& valueName);

    // One read-modify-write that no other process can interleave with. fn returns
    // false to roll back.
    template <typename Fn> StoreError transaction(Fn&& fn) {
        return errorOf(m_backend.transaction([&]() -> bool { return fn(); }));
    }

private:
    static StoreError errorOf(int status);
    StoreBackend& m_backend;
};

} // namespace ovra
