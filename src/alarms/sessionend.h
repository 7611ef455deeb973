#pragma once

#include "alarms/poweractions.h"

namespace ovra {

// Ends the desktop session the ordinary way before the machine goes down, so
// the programs in it are asked to save and may object.
class SessionEnd {
public:
    virtual ~SessionEnd() = default;

    // Each asks the session to end and then shut down or restart; false when there
    // is no session manager to ask, so the caller turns to the system instead.
    // failed hears why a session manager that was asked refused.
    virtual bool shutDown(PowerActions::Failed failed = {}) = 0;
    virtual bool restart(PowerActions::Failed failed = {}) = 0;
};

} // namespace ovra
