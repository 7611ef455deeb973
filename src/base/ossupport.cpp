#include "base/ossupport.h"

#include "base/textutil.h"

#include <QDir>
#include <QFileInfo>

#include <pthread.h>

namespace ovra {

std::optional<QString> unsupportedSystemMessage(const OsVersionInfo& info) {
    if (info.platformId != 1)
        return std::nullopt;
    QString description;
    switch (info.minorVersion) {
    case 0:
        description = QStringLiteral("Microsoft Windows 95 ");
        break;
    case 10:
        description = QStringLiteral("Microsoft Windows 98 ");
        break;
    case 90:
        description = QStringLiteral("Microsoft Windows Mellinnium ");
        break;
    default:
        break;
    }
    if (!description.isEmpty()) {
        description += cleanString(info.servicePack).left(128);
        description += QStringLiteral(" (Build %1)").arg(info.buildNumber);
    }
    return QStringLiteral("Sorry! Felmar can't support ") + description;
}

std::optional<OsVersionInfo> queryOsVersion() {
    // Linux and every other system this builds for belong to no refused family.
    OsVersionInfo info;
    info.platformId = 2;
    return info;
}

void preventSessionBusAutolaunch() {
    if (!qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return;
    // A session started by systemd has its bus here without naming it; the
    // libraries find it themselves.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && QFileInfo::exists(runtime + QStringLiteral("/bus")))
        return;
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
}

bool threadsCanStart() {
    pthread_t probe;
    if (::pthread_create(
            &probe, nullptr, [](void*) -> void* { return nullptr; }, nullptr) != 0)
        return false;
    ::pthread_join(probe, nullptr);
    return true;
}

} // namespace ovra
