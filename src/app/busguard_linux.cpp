#include "app/busguard.h"

#include "base/busprobe.h"
#include "clock/windowsystem.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>

namespace ovra {

namespace {

// What libdbus and Qt take for a bus that fails at once: an address of no known
// kind. Qt's screen-reader bridge takes a set AT_SPI_BUS_ADDRESS without asking the
// session bus or the X server.
constexpr char kNoBus[] = "disabled:";

bool answers(const QByteArray& address) {
    return probeBus(address, kBusAnswerTimeoutMs) != BusAnswer::Silent;
}

bool noAnswer(const QDBusMessage& reply) {
    return reply.type() == QDBusMessage::ErrorMessage &&
           (reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.NoReply") ||
            reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.Timeout"));
}

// The accessibility bus the session bus names, asked with a short bound and only
// of a launcher that runs: as Qt does, nothing is started for it. Sets silent when
// the session bus or the launcher takes the call and does not answer it.
QByteArray accessibilityBusOfSession(bool* silent) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return {};
    const QString service = QStringLiteral("org.a11y.Bus");
    QDBusMessage owned = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    owned << service;
    const QDBusMessage isOwned = bus.call(owned, QDBus::Block, kBusAnswerTimeoutMs);
    *silent = noAnswer(isOwned);
    if (isOwned.type() != QDBusMessage::ReplyMessage || isOwned.arguments().isEmpty() ||
        !isOwned.arguments().constFirst().toBool())
        return {};
    QDBusMessage ask = QDBusMessage::createMethodCall(service, QStringLiteral("/org/a11y/bus"),
                                                      service, QStringLiteral("GetAddress"));
    ask.setAutoStartService(false);
    const QDBusMessage reply = bus.call(ask, QDBus::Block, kBusAnswerTimeoutMs);
    *silent = noAnswer(reply);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    return reply.arguments().constFirst().toString().toUtf8();
}

} // namespace

void guardBuses(const std::function<void(const QString&)>& report) {
    if (!answers(systemBusAddress())) {
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", kNoBus);
        report(QCoreApplication::translate(
            "CommandLine", "The system bus does not answer: resume from sleep is not noticed "
                           "and power actions cannot be carried out."));
    }
    const bool sessionAnswers = answers(sessionBusAddress());
    if (!sessionAnswers) {
        qputenv("DBUS_SESSION_BUS_ADDRESS", kNoBus);
        report(QCoreApplication::translate(
            "CommandLine", "The session bus does not answer: screen readers cannot reach the "
                           "clock and the session is not asked to end before a shutdown."));
    }
    // Qt's bridge takes the accessibility bus from AT_SPI_BUS_ADDRESS, else from the
    // X root window, else from the session bus, and connects without a bound.
    QByteArray address = qgetenv("AT_SPI_BUS_ADDRESS");
    bool silent = false;
    if (address.isEmpty())
        address = desktopAccessibilityBus();
    if (address.isEmpty() && sessionAnswers)
        address = accessibilityBusOfSession(&silent);
    if (silent || (!address.isEmpty() && !answers(address))) {
        qputenv("AT_SPI_BUS_ADDRESS", kNoBus);
        report(QCoreApplication::translate(
            "CommandLine", "The accessibility bus does not answer: screen readers cannot reach "
                           "the clock."));
    }
}

} // namespace ovra
