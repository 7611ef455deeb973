#pragma once

#include "alarms/poweractions.h"

#include <QObject>

namespace ovra {

// The power actions through systemd-logind on the system D-Bus. The bus is
// reached only when an action or its check runs, never at start-up, and its
// address comes from the standard DBUS_SYSTEM_BUS_ADDRESS when that is set.
class LogindPowerActions final : public PowerActions {
public:
    QString canPowerOff() override;
    QString canReboot() override;
    void powerOff(bool interactive, Failed failed = {}) override;
    void reboot(bool interactive, Failed failed = {}) override;
    void lockSession(Failed failed = {}) override;

    // The session LockSession names: this login's XDG_SESSION_ID, else "auto",
    // which logind resolves to the caller's session or the user's graphical one
    // (a clock started by a user service runs outside any session).
    static QString sessionId();

private:
    void request(const QString& method, const QVariantList& args, bool interactive, Failed failed);

    QObject m_pending; // the answers still awaited end with this object
};

} // namespace ovra
