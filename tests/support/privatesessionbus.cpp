#include "privatesessionbus.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QThread>

namespace ovra::test {

namespace {

const QString kMockIface = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kPrivateName = QStringLiteral("ovra-private-session");

} // namespace

PrivateSessionBus::PrivateSessionBus() {
    m_savedAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    if (!m_bus.error().isEmpty()) {
        m_error = m_bus.error();
        return;
    }
    m_address = m_bus.address();
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
}

bool PrivateSessionBus::confirm() {
    if (m_address.isEmpty())
        return false;
    // The guard: the process's session bus must be this daemon and no other.
    const QString privateId = busId(QDBusConnection::connectToBus(m_address, kPrivateName));
    const QString sessionId = busId(QDBusConnection::sessionBus());
    if (privateId.isEmpty() || sessionId != privateId) {
        m_error = QStringLiteral("the session bus of this process is not the private bus; "
                                 "refusing to ask it to end the session");
        return false;
    }
    m_ok = true;
    return true;
}

PrivateSessionBus::~PrivateSessionBus() {
    for (auto& [service, mock] : m_mocks)
        stopProcess(*mock.process);
    QDBusConnection::disconnectFromBus(kPrivateName);
    if (m_savedAddress.isNull())
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    else
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_savedAddress);
}

bool PrivateSessionBus::startService(const QString& service, const QString& path,
                                     const QString& interface,
                                     const std::map<QString, QString>& methods) {
    if (!m_ok)
        return false;
    stopService(service);
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    env.remove(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--session"),
                    service, path, interface});
    if (!process->waitForStarted(5000)) {
        m_error = QStringLiteral("python3-dbusmock did not start");
        return false;
    }
    m_mocks[service] = {path, std::move(process)};
    QDBusConnection bus(kPrivateName);
    QElapsedTimer waited;
    waited.start();
    while (!bus.interface()->isServiceRegistered(service) && waited.elapsed() < 10000)
        QThread::msleep(50);
    if (!bus.interface()->isServiceRegistered(service)) {
        m_error = service + QStringLiteral(" did not appear on the private bus");
        return false;
    }
    for (const auto& [name, signature] : methods) {
        QDBusMessage add =
            QDBusMessage::createMethodCall(service, path, kMockIface, QStringLiteral("AddMethod"));
        add.setArguments({interface, name, signature, QString(), QString()});
        if (bus.call(add, QDBus::Block, 5000).type() != QDBusMessage::ReplyMessage) {
            m_error = QStringLiteral("could not add ") + name + QStringLiteral(" to ") + service;
            return false;
        }
    }
    return true;
}

bool PrivateSessionBus::addMethod(const QString& service, const QString& interface,
                                  const QString& name, const QString& outSignature,
                                  const QString& code) {
    const auto it = m_mocks.find(service);
    if (it == m_mocks.end())
        return false;
    QDBusMessage add = QDBusMessage::createMethodCall(service, it->second.path, kMockIface,
                                                      QStringLiteral("AddMethod"));
    add.setArguments({interface, name, QString(), outSignature, code});
    return QDBusConnection(kPrivateName).call(add, QDBus::Block, 5000).type() ==
           QDBusMessage::ReplyMessage;
}

void PrivateSessionBus::stopService(const QString& service) {
    const auto it = m_mocks.find(service);
    if (it == m_mocks.end())
        return;
    stopProcess(*it->second.process);
    m_mocks.erase(it);
    // Gone from the bus before the next request looks for it.
    QDBusConnection bus(kPrivateName);
    QElapsedTimer waited;
    waited.start();
    while (bus.interface()->isServiceRegistered(service) && waited.elapsed() < 5000)
        QThread::msleep(20);
}

QStringList PrivateSessionBus::calls(const QString& service) {
    const auto it = m_mocks.find(service);
    if (it == m_mocks.end())
        return {};
    return recordedCalls(
        QDBusConnection(kPrivateName)
            .call(QDBusMessage::createMethodCall(service, it->second.path, kMockIface,
                                                 QStringLiteral("GetCalls")),
                  QDBus::Block, 5000));
}

} // namespace ovra::test
