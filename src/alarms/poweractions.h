#pragma once

#include <QString>

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
    // interactive true lets the system ask the user to authenticate; false is for
    // requests nobody is there to confirm.
    virtual void powerOff(bool interactive) = 0;
    virtual void reboot(bool interactive) = 0;
    virtual void lockSession() = 0;
};

} // namespace ovra
