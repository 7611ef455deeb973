#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace ovra {

// What the platform says about itself, in the shape of the old Windows version
// record: only the Windows 95 family (platform id 1) is refused.
struct OsVersionInfo {
    uint32_t platformId = 0;
    uint32_t majorVersion = 0;
    uint32_t minorVersion = 0;
    uint32_t buildNumber = 0;
    QString servicePack;
};

// The message shown on an unsupported system, or nothing when the system passes.
std::optional<QString> unsupportedSystemMessage(const OsVersionInfo& info);

// The running system's version record; nothing when it cannot be asked (which
// passes the check). On Linux there is nothing to refuse.
std::optional<OsVersionInfo> queryOsVersion();

inline const QString kUnsupportedSystemTitle = QStringLiteral("Warning !");

} // namespace ovra
