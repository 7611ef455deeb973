#include "alarms/logindpoweractions.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>

namespace ovra {

namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

// A check answers at once on a working system; the bound keeps a hung bus from
// freezing the clock.
constexpr int kCheckTimeoutMs = 3000;

QString ask(const QString& method) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return {};
    const QDBusMessage reply =
        bus.call(QDBusMessage::createMethodCall(kService, kPath, kManager, method), QDBus::Block,
                 kCheckTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().toString();
}

// The request goes out without waiting: logind may hold the reply while the user
// authenticates, and a refusal is the system's to report.
void request(const QString& method, const QVariantList& args, bool interactive) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected())
        return;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kManager, method);
    call.setArguments(args);
    call.setInteractiveAuthorizationAllowed(interactive);
    bus.asyncCall(call);
}

} // namespace

QString LogindPowerActions::canPowerOff() {
    return ask(QStringLiteral("CanPowerOff"));
}

QString LogindPowerActions::canReboot() {
    return ask(QStringLiteral("CanReboot"));
}

void LogindPowerActions::powerOff(bool interactive) {
    request(QStringLiteral("PowerOff"), {interactive}, interactive);
}

void LogindPowerActions::reboot(bool interactive) {
    request(QStringLiteral("Reboot"), {interactive}, interactive);
}

void LogindPowerActions::lockSession() {
    request(QStringLiteral("LockSession"), {sessionId()}, false);
}

QString LogindPowerActions::sessionId() {
    const QString id = qEnvironmentVariable("XDG_SESSION_ID");
    return id.isEmpty() ? QStringLiteral("auto") : id;
}

} // namespace ovra
