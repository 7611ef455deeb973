#include "alarms/desktopsessionend.h"

#include "alarms/dbusrequest.h"

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

// GNOME's Shutdown and Reboot open its own confirmation dialog; the Request forms
// end the session without it. KDE's logoutAndShutdown and Xfce's Shutdown ask
// nothing (KDE's own dialog is org.kde.LogoutPrompt, which is not used).
constexpr SessionManager kManagers[] = {
    {"org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager",
     "RequestShutdown", "RequestReboot", false},
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

} // namespace

bool DesktopSessionEnd::endSession(bool restart, PowerActions::Failed failed) {
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
        // The session may keep the answer until its programs have saved; a refusal
        // (a program that objects, a policy) comes back to failed.
        sendRequest(bus, call, service, &m_pending, std::move(failed));
        return true;
    }
    return false;
}

bool DesktopSessionEnd::shutDown(PowerActions::Failed failed) {
    return endSession(false, std::move(failed));
}

bool DesktopSessionEnd::restart(PowerActions::Failed failed) {
    return endSession(true, std::move(failed));
}

} // namespace ovra
