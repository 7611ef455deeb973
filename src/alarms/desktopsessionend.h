#pragma once

#include "alarms/sessionend.h"

#include <QObject>

namespace ovra {

// The session managers of GNOME (and the sessions that offer its interface),
// KDE Plasma and Xfce, on the session D-Bus; the first whose name has an owner
// is asked, with the request that ends the session without a dialog of its own:
// the clock's countdown was the question. Nothing is started by bus activation: a
// desktop that is not running has no session to end.
class DesktopSessionEnd final : public SessionEnd {
public:
    bool shutDown(PowerActions::Failed failed = {}) override;
    bool restart(PowerActions::Failed failed = {}) override;

private:
    bool endSession(bool restart, PowerActions::Failed failed);

    QObject m_pending; // the answers still awaited end with this object
};

} // namespace ovra
