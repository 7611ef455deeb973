#pragma once

#include "privatebus.h"

#include <QDBusConnection>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

namespace ovra::test {

// A private D-Bus daemon with python3-dbusmock's logind on it, standing in for the
// system bus: DBUS_SYSTEM_BUS_ADDRESS points at it while the object lives, and
// both processes are ended by PID when it goes. Power requests sent to it are
// recorded, never carried out.
//
// ok() is true only once the process's system-bus connection is proven to reach
// this private bus (both report the same bus ID); a test must not send a power
// request unless it is.
class PrivateLogind {
public:
    PrivateLogind();
    ~PrivateLogind();
    PrivateLogind(const PrivateLogind&) = delete;
    PrivateLogind& operator=(const PrivateLogind&) = delete;

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    QString address() const { return m_address; }

    // The methods logind was asked for since the last clearCalls(), each as
    // "Name" or "Name:arg1,arg2".
    QStringList calls();
    void clearCalls();
    // What CanPowerOff / CanReboot answer from now on ("yes", "no", "challenge").
    void setAnswer(const QString& method, const QString& answer);

    // From now on the method (with its input signature) answers with an
    // AccessDenied error carrying message, or, after accept(), with nothing again;
    // false when the mock did not take the change.
    bool refuse(const QString& method, const QString& signature, const QString& message);
    bool accept(const QString& method, const QString& signature);

    // logind's PrepareForSleep signal, as sent before a sleep (true) and on resume
    // (false); false when the mock did not take the request.
    bool emitPrepareForSleep(bool goingToSleep);

    // An environment for a child process that may only reach this bus.
    QProcessEnvironment environment(QProcessEnvironment base) const;

private:
    QDBusMessage mockCall(const QString& method, const QVariantList& args = {});

    PrivateBusDaemon m_bus;
    QProcess m_mock;
    QString m_address;
    QString m_error;
    QByteArray m_savedAddress;
    bool m_ok = false;
};

} // namespace ovra::test
