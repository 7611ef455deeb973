#include "privatelogind.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QThread>

namespace ovra::test {

namespace {

const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kMockIface = QStringLiteral("org.freedesktop.DBus.Mock");
const QString kPrivateName = QStringLiteral("ovra-private-logind");

} // namespace

PrivateLogind::PrivateLogind() {
    m_savedAddress = qgetenv("DBUS_SYSTEM_BUS_ADDRESS");
    if (!m_bus.error().isEmpty()) {
        m_error = m_bus.error();
        return;
    }
    m_address = m_bus.address();
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
    QElapsedTimer waited;
    waited.start();
    while (!direct.interface()->isServiceRegistered(kLogind) && waited.elapsed() < 10000)
        QThread::msleep(50);
    if (!direct.interface()->isServiceRegistered(kLogind)) {
        m_error = QStringLiteral("the mock logind did not appear on the private bus");
        return;
    }
    m_ok = true;
}

PrivateLogind::~PrivateLogind() {
    stopProcess(m_mock);
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
    return recordedCalls(mockCall(QStringLiteral("GetCalls")));
}

void PrivateLogind::clearCalls() {
    mockCall(QStringLiteral("ClearCalls"));
}

void PrivateLogind::setAnswer(const QString& method, const QString& answer) {
    mockCall(QStringLiteral("AddMethod"),
             {QStringLiteral("org.freedesktop.login1.Manager"), method, QString(),
              QStringLiteral("s"), QStringLiteral("ret = \"%1\"").arg(answer)});
}

bool PrivateLogind::refuse(const QString& method, const QString& signature,
                           const QString& message) {
    return mockCall(QStringLiteral("AddMethod"),
                    {QStringLiteral("org.freedesktop.login1.Manager"), method, signature, QString(),
                     QStringLiteral("raise dbus.exceptions.DBusException(%1, "
                                    "name='org.freedesktop.DBus.Error.AccessDenied')")
                         .arg(QStringLiteral("'") + message + u'\'')})
               .type() == QDBusMessage::ReplyMessage;
}

bool PrivateLogind::accept(const QString& method, const QString& signature) {
    return mockCall(QStringLiteral("AddMethod"), {QStringLiteral("org.freedesktop.login1.Manager"),
                                                  method, signature, QString(), QString()})
               .type() == QDBusMessage::ReplyMessage;
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
