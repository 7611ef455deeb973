#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

namespace ovra::test {

// A dbus-daemon of the test's own: its socket in a private temporary folder, no
// service directories, so nothing can be started on it by activation. Ended by PID
// when the object goes; error() says why it did not start.
class PrivateBusDaemon {
public:
    PrivateBusDaemon();
    ~PrivateBusDaemon();
    PrivateBusDaemon(const PrivateBusDaemon&) = delete;
    PrivateBusDaemon& operator=(const PrivateBusDaemon&) = delete;

    QString address() const { return m_address; }
    QString error() const { return m_error; }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QString m_error;
};

// The ID a bus reports for itself; two connections reach the same bus when their
// IDs agree. Empty when the bus does not answer.
QString busId(const QDBusConnection& bus);

// Ends a process the test started: asked first, killed when it does not go.
void stopProcess(QProcess& process);

// The calls a python3-dbusmock object recorded, from its GetCalls reply, each as
// "Name" or "Name:arg1,arg2".
QStringList recordedCalls(const QDBusMessage& getCallsReply);

} // namespace ovra::test
