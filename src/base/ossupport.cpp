#include "base/ossupport.h"

#include <QDir>
#include <QFileInfo>

#include <pthread.h>

namespace ovra {

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
