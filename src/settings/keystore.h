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

    // status, when given, receives NotFound for a value that is absent and another
    // non-zero code when the store could not be read: only the first means "no value".
    StoredValue readValue(const QString& keyPath, const QString& valueName, int* status = nullptr);
    // type 1 and 2 write text; type 4 writes the text read as a number; any other
    // type writes nothing. Returns a status code (0 success).
    int writeValue(const QString& keyPath, const QString& valueName, const QString& value,
                   int type);
    int deleteValue(const QString& keyPath, const QString& valueName);
    int deleteKey(const QString& parentPath, const QString& subKeyName);

    int writeInteger(const QString& keyPath, const QString& valueName, int32_t value);
    int writeText(const QString& keyPath, const QString& valueName, const QString& value);

    // The one rule for turning a stored value into an integer: no value is 0, an
    // integer is taken as it is, a text is read as a decimal number. Nothing when
    // the text is not a number, so the caller keeps what it had.
    std::optional<int32_t> readInteger(const QString& keyPath, const QString& valueName,
                                       int* status = nullptr);
    // A text value, cleaned; empty when there is none.
    QString readText(const QString& keyPath, const QString& valueName, int* status = nullptr);

    // One read-modify-write that no other process can interleave with. fn returns
    // false to roll back. Returns a status code.
    template <typename Fn> int transaction(Fn&& fn) {
        return m_backend.transaction([&]() -> bool { return fn(); });
    }

    StoreBackend& backend() { return m_backend; }

private:
    StoreBackend& m_backend;
};

} // namespace ovra
