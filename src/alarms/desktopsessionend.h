#pragma once

#include "alarms/sessionend.h"

namespace ovra {

// The session managers of GNOME (and the sessions that offer its interface),
// KDE Plasma and Xfce, on the session D-Bus; the first whose name has an owner
// is asked. Nothing is started by bus activation: a desktop that is not running
// has no session to end.
class DesktopSessionEnd final : public SessionEnd {
public:
    bool shutDown() override;
    bool restart() override;
};

} // namespace ovra
