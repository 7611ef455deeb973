#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

namespace ovra {

// status codes of store accesses; they keep the meaning of the platform codes
// callers already know (0 is success).
namespace status {
inline constexpr int Success = 0;
inline constexpr int NotFound = 2;
inline constexpr int AccessDenied = 5;
inline constexpr int InvalidHandle = 6;
inline constexpr int InvalidParameter = 87;
inline constexpr int Busy = 170;
inline constexpr int StoreCorrupt = 1009;
inline constexpr int CannotRead = 1012;
inline constexpr int CannotWrite = 1013;
} // namespace status

// Value types, numbered as the platform numbers them so stored data keeps its
// meaning on every port.
namespace valuetype {
inline constexpr uint32_t String = 1;
inline constexpr uint32_t ExpandString = 2;
inline constexpr uint32_t Binary = 3;
inline constexpr uint32_t Dword = 4;
inline constexpr uint32_t MultiString = 7;
} // namespace valuetype

struct RawValue {
    uint32_t type = 0;
    QByteArray data; // a DWORD is 4 bytes little-endian; text is UTF-8 without a NUL
};

// A hierarchical per-user key/value store. Keys are paths below a numbered root
// with "\" between components; key and value names compare exactly.
class StoreBackend {
public:
    virtual ~StoreBackend() = default;

    virtual int readValue(uint32_t root, const QString& key, const QString& name,
                          RawValue& out) = 0;
    // Creates the key and its missing parents, then writes the value.
    virtual int writeValue(uint32_t root, const QString& key, const QString& name,
                           const RawValue& value) = 0;
    virtual int deleteValue(uint32_t root, const QString& key, const QString& name) = 0;
    // Deletes a key with its values; refused while it still has sub-keys.
    virtual int deleteKey(uint32_t root, const QString& key) = 0;
    virtual bool keyExists(uint32_t root, const QString& key) = 0;

    // Runs fn in one write transaction that other processes see whole or not at
    // all; accesses made inside fn join it. fn returning false rolls it back.
    virtual int transaction(const std::function<bool()>& fn) = 0;
};

} // namespace ovra
