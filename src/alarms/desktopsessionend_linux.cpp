#include "alarms/desktopsessionend.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>

namespace ovra {

namespace {

struct SessionManager {
    const char* service;
    const char* path;
    const char* interface;
    const char* shutDown;
    const char* restart;
    bool takesAllowSave; // Xfce's methods ask whether programs may save first
};

constexpr SessionManager kManagers[] = {
    {"org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager",
     "Shutdown", "Reboot", false},
    {"org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown", "logoutAndShutdown", "logoutAndReboot",
     false},
    {"org.xfce.SessionManager", "/org/xfce/SessionManager", "org.xfce.Session.Manager", "Shutdown",
     "Restart", true},
};

// A name check answers at once on a working bus; the bound keeps a hung one from
// freezing the clock for the default 25 seconds.
constexpr int kCheckTimeoutMs = 3000;

bool hasOwner(QDBusConnection& bus, const QString& name) {
    QDBusMessage ask = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    ask << name;
    const QDBusMessage reply = bus.call(ask, QDBus::Block, kCheckTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           reply.arguments().constFirst().toBool();
}

bool endSession(bool restart) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    for (const SessionManager& m : kManagers) {
        const QString service = QLatin1String(m.service);
        if (!hasOwner(bus, service))
            continue;
        QDBusMessage call = QDBusMessage::createMethodCall(
            service, QLatin1String(m.path), QLatin1String(m.interface),
            QLatin1String(restart ? m.restart : m.shutDown));
        if (m.takesAllowSave)
            call << true;
        call.setInteractiveAuthorizationAllowed(true);
        // The session may keep the reply until its programs have answered; what
        // they decide is the session's to show.
        bus.asyncCall(call);
        return true;
    }
    return false;
}

} // namespace

bool DesktopSessionEnd::shutDown() {
    return endSession(false);
}

bool DesktopSessionEnd::restart() {
    return endSession(true);
}

} // namespace ovra
