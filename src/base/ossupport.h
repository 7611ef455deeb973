#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace ovra {

// What the platform says about itself, as a version record of platform id,
// version numbers and service pack: only platform id 1 (the Windows 95 family)
// is refused.
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

// With no session bus named, the D-Bus libraries start one of their own
// ("autolaunch") the first time anything asks for it, and that bus outlives the
// clock. When no bus is named and the session has none at its usual place, the
// session bus is marked as disabled instead; asking for it then simply fails.
void preventSessionBusAutolaunch();

// Whether this process can start a thread now; under a process or memory limit it
// cannot. Qt waits without a bound for threads it has asked for (the thread pool,
// the D-Bus connection), so whoever needs one asks this first.
bool threadsCanStart();

inline const QString kUnsupportedSystemTitle =
    QStringLiteral(QT_TRANSLATE_NOOP("Messages", "Warning !"));

} // namespace ovra
