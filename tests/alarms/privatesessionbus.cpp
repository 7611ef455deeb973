#include "privatesessionbus.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

namespace ovra::test {

namespace {

const QString kMockIface = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kPrivateName = QStringLiteral("ovra-private-session");

// No service directories: nothing can be started on this bus by activation.
const char* const kConfig = R"(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:path=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

QString busId(const QDBusConnection& bus) {
    const QDBusMessage reply =
        bus.call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                QStringLiteral("/org/freedesktop/DBus"),
                                                QStringLiteral("org.freedesktop.DBus"),
                                                QStringLiteral("GetId")),
                 QDBus::Block, 3000);
    return reply.arguments().isEmpty() ? QString() : reply.arguments().constFirst().toString();
}

void stop(QProcess& p) {
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished(3000);
    }
}

} // namespace

PrivateSessionBus::PrivateSessionBus() {
    m_savedAddress = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QString config = m_dir.filePath(QStringLiteral("bus.conf"));
    {
        QFile f(config);
        if (!f.open(QIODevice::WriteOnly)) {
            m_error = QStringLiteral("cannot write the bus configuration");
            return;
        }
        f.write(QString::fromLatin1(kConfig).arg(m_dir.filePath(QStringLiteral("bus"))).toUtf8());
    }
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                    QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForStarted(5000)) {
        m_error = QStringLiteral("dbus-daemon did not start (is the dbus package installed?)");
        return;
    }
    QElapsedTimer waited;
    waited.start();
    while (!m_daemon.canReadLine() && waited.elapsed() < 5000)
        m_daemon.waitForReadyRead(200);
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    if (!m_address.startsWith(QStringLiteral("unix:path=") + m_dir.path())) {
        m_error = QStringLiteral("dbus-daemon reported no private address: ") + m_address;
        return;
    }
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
        stop(*mock.process);
    stop(m_daemon);
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

void PrivateSessionBus::stopService(const QString& service) {
    const auto it = m_mocks.find(service);
    if (it == m_mocks.end())
        return;
    stop(*it->second.process);
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
    const QDBusMessage reply =
        QDBusConnection(kPrivateName)
            .call(QDBusMessage::createMethodCall(service, it->second.path, kMockIface,
                                                 QStringLiteral("GetCalls")),
                  QDBus::Block, 5000);
    QStringList out;
    if (reply.arguments().isEmpty())
        return out;
    // a(tsav): time, method name, arguments
    const QDBusArgument list = reply.arguments().constFirst().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        quint64 time = 0;
        QString name;
        QStringList args;
        list.beginStructure();
        list >> time >> name;
        list.beginArray();
        while (!list.atEnd()) {
            QDBusVariant v;
            list >> v;
            args << v.variant().toString();
        }
        list.endArray();
        list.endStructure();
        out << (args.isEmpty() ? name : name + u':' + args.join(u','));
    }
    list.endArray();
    return out;
}

} // namespace ovra::test
