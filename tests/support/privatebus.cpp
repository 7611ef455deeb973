#include "privatebus.h"

#include <QDBusArgument>
#include <QElapsedTimer>
#include <QFile>

namespace ovra::test {

namespace {

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

} // namespace

PrivateBusDaemon::PrivateBusDaemon() {
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
    const QString address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    if (!address.startsWith(QStringLiteral("unix:path=") + m_dir.path())) {
        m_error = QStringLiteral("dbus-daemon reported no private address: ") + address;
        return;
    }
    m_address = address;
}

PrivateBusDaemon::~PrivateBusDaemon() {
    stopProcess(m_daemon);
}

QString busId(const QDBusConnection& bus) {
    const QDBusMessage reply =
        bus.call(QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
                                                QStringLiteral("/org/freedesktop/DBus"),
                                                QStringLiteral("org.freedesktop.DBus"),
                                                QStringLiteral("GetId")),
                 QDBus::Block, 3000);
    return reply.arguments().isEmpty() ? QString() : reply.arguments().constFirst().toString();
}

void stopProcess(QProcess& p) {
    if (p.state() == QProcess::NotRunning)
        return;
    p.terminate();
    if (!p.waitForFinished(3000)) {
        p.kill();
        p.waitForFinished(3000);
    }
}

QStringList recordedCalls(const QDBusMessage& reply) {
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
