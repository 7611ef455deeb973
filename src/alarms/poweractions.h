#pragma once

#include <QString>

#include <functional>

namespace ovra {

// The requests the power actions send to the system. The real implementation
// talks to logind on the system bus; tests use doubles or a private bus.
class PowerActions {
public:
    virtual ~PowerActions() = default;

    // logind's answer to CanPowerOff / CanReboot: "yes", "no", "challenge" (only
    // after the user authenticates) or "na"; empty when the system cannot be asked.
    virtual QString canPowerOff() = 0;
    virtual QString canReboot() = 0;
    // Hears why a request was refused or could not be sent, in a short phrase;
    // perhaps after the request returned, from the event loop.
    using Failed = std::function<void(const QString& why)>;

    // interactive true lets the system ask the user to authenticate; false is for
    // requests nobody is there to confirm.
    virtual void powerOff(bool interactive, Failed failed = {}) = 0;
    virtual void reboot(bool interactive, Failed failed = {}) = 0;
    virtual void lockSession(Failed failed = {}) = 0;
};

} // namespace ovra
