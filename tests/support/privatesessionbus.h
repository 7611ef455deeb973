#pragma once

#include "privatebus.h"

#include <QDBusConnection>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <map>
#include <memory>

namespace ovra::test {

// A private D-Bus daemon standing in for the session bus: DBUS_SESSION_BUS_ADDRESS
// points at it while the object lives. libdbus reads the addresses of all its
// buses once, at the first connection to any of them, so this and any private
// system bus must be made before the process connects to either. Stand-ins for
// desktop services are hosted on it by python3-dbusmock; every process is ended
// by PID when it goes.
//
// ok() is true only once confirm() has proven that the process's session-bus
// connection reaches this private bus (both report the same bus ID).
class PrivateSessionBus {
public:
    PrivateSessionBus();
    ~PrivateSessionBus();
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool confirm();
    bool ok() const { return m_ok; }
    QString error() const { return m_error; }

    // An object at path owning service, with methods (name -> input signature)
    // that return nothing and only record that they were called. False, with
    // error() set, when it did not appear.
    bool startService(const QString& service, const QString& path, const QString& interface,
                      const std::map<QString, QString>& methods);
    void stopService(const QString& service);
    // One more method of a started service, which runs the Python code (setting
    // ret) and returns ret with the output signature.
    bool addMethod(const QString& service, const QString& interface, const QString& name,
                   const QString& outSignature, const QString& code);

    // The calls the service received, each as "Name" or "Name:arg1,arg2".
    QStringList calls(const QString& service);

private:
    struct Mock {
        QString path;
        std::unique_ptr<QProcess> process;
    };

    PrivateBusDaemon m_bus;
    QString m_address;
    QString m_error;
    QByteArray m_savedAddress;
    std::map<QString, Mock> m_mocks;
    bool m_ok = false;
};

} // namespace ovra::test
