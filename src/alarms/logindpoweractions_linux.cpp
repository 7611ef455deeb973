#include "alarms/logindpoweractions.h"

#include "alarms/dbusrequest.h"

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

} // namespace

QString LogindPowerActions::canPowerOff() {
    return ask(QStringLiteral("CanPowerOff"));
}

QString LogindPowerActions::canReboot() {
    return ask(QStringLiteral("CanReboot"));
}

// The request goes out without waiting: logind may hold the answer while the user
// authenticates. A refusal, or a logind that is not there, comes back to failed.
void LogindPowerActions::request(const QString& method, const QVariantList& args, bool interactive,
                                 Failed failed) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        if (failed)
            failed(notAnsweringText(QStringLiteral("logind")));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kManager, method);
    call.setArguments(args);
    call.setInteractiveAuthorizationAllowed(interactive);
    sendRequest(bus, call, QStringLiteral("logind"), &m_pending, std::move(failed));
}

void LogindPowerActions::powerOff(bool interactive, Failed failed) {
    request(QStringLiteral("PowerOff"), {interactive}, interactive, std::move(failed));
}

void LogindPowerActions::reboot(bool interactive, Failed failed) {
    request(QStringLiteral("Reboot"), {interactive}, interactive, std::move(failed));
}

void LogindPowerActions::lockSession(Failed failed) {
    request(QStringLiteral("LockSession"), {sessionId()}, false, std::move(failed));
}

QString LogindPowerActions::sessionId() {
    const QString id = qEnvironmentVariable("XDG_SESSION_ID");
    return id.isEmpty() ? QStringLiteral("auto") : id;
}

} // namespace ovra
