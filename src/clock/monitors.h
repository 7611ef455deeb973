#pragma once

#include "clock/monitortable.h"
#include "settings/settingsstore.h"

class QScreen;

namespace ovra {

// The monitors as Qt sees them, in the clock's own terms: the table in the order
// Qt lists the screens, the primary's work area and its density.
class Monitors {
public:
    static MonitorTable enumerate();
    static QRect primaryWorkArea();
    static ScreenDensity density();
    // The screen a table index stands for, or the primary one when it is gone.
    static QScreen* screenFor(int monitorId);
};

} // namespace ovra
