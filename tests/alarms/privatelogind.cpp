#include "privatelogind.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

namespace ovra::test {

namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kMockIface = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kPrivateName = QStringLiteral("ovra-private-logind");

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

PrivateLogind::PrivateLogind() {
    m_savedAddress = qgetenv("DBUS_SYSTEM_BUS_ADDRESS");
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
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_address.toUtf8());

    QProcessEnvironment env = environment(QProcessEnvironment::systemEnvironment());
    m_mock.setProcessEnvironment(env);
    m_mock.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Debian's module, whichever python3 comes first on PATH.
    m_mock.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--system"),
                  QStringLiteral("--template"), QStringLiteral("logind")});
    if (!m_mock.waitForStarted(5000)) {
        m_error = QStringLiteral("python3-dbusmock did not start");
        return;
    }

    // The guard: the process's system bus must be this daemon and no other.
    QDBusConnection direct = QDBusConnection::connectToBus(m_address, kPrivateName);
    const QString privateId = busId(direct);
    const QString systemId = busId(QDBusConnection::systemBus());
    if (privateId.isEmpty() || systemId != privateId) {
        m_error = QStringLiteral("the system bus of this process is not the private bus; "
                                 "refusing to send power requests");
        return;
    }
    waited.restart();
    while (!direct.interface()->isServiceRegistered(kLogind) && waited.elapsed() < 10000)
        QThread::msleep(50);
    if (!direct.interface()->isServiceRegistered(kLogind)) {
        m_error = QStringLiteral("the mock logind did not appear on the private bus");
        return;
    }
    m_ok = true;
}

PrivateLogind::~PrivateLogind() {
    stop(m_mock);
    stop(m_daemon);
    QDBusConnection::disconnectFromBus(kPrivateName);
    if (m_savedAddress.isNull())
        qunsetenv("DBUS_SYSTEM_BUS_ADDRESS");
    else
        qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_savedAddress);
}

QDBusMessage PrivateLogind::mockCall(const QString& method, const QVariantList& args) {
    QDBusMessage call = QDBusMessage::createMethodCall(kLogind, kPath, kMockIface, method);
    call.setArguments(args);
    return QDBusConnection(kPrivateName).call(call, QDBus::Block, 5000);
}

QStringList PrivateLogind::calls() {
    const QDBusMessage reply = mockCall(QStringLiteral("GetCalls"));
    QStringList out;
    if (reply.arguments().isEmpty())
        return out;
    // a(tsav): time, method name, arguments
    const QDBusArgument list = reply.arguments().constFirst().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        quint64 time = 0;
        QString name;
        QVariantList args;
        list.beginStructure();
        list >> time >> name;
        list.beginArray();
        while (!list.atEnd()) {
            QDBusVariant v;
            list >> v;
            args << v.variant();
        }
        list.endArray();
        list.endStructure();
        QStringList texts;
        for (const QVariant& a : args)
            texts << a.toString();
        out << (texts.isEmpty() ? name : name + u':' + texts.join(u','));
    }
    list.endArray();
    return out;
}

void PrivateLogind::clearCalls() {
    mockCall(QStringLiteral("ClearCalls"));
}

void PrivateLogind::setAnswer(const QString& method, const QString& answer) {
    mockCall(QStringLiteral("AddMethod"),
             {QStringLiteral("org.freedesktop.login1.Manager"), method, QString(),
              QStringLiteral("s"), QStringLiteral("ret = \"%1\"").arg(answer)});
}

bool PrivateLogind::emitPrepareForSleep(bool goingToSleep) {
    const QDBusMessage reply = mockCall(QStringLiteral("EmitSignal"),
                                        {QStringLiteral("org.freedesktop.login1.Manager"),
                                         QStringLiteral("PrepareForSleep"), QStringLiteral("b"),
                                         QVariantList{QVariant(goingToSleep)}});
    return reply.type() == QDBusMessage::ReplyMessage;
}

QProcessEnvironment PrivateLogind::environment(QProcessEnvironment base) const {
    base.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
    // The session bus, too, is this one: a child never reaches the user's.
    base.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    return base;
}

} // namespace ovra::test
