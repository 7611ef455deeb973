#pragma once

#include "clock/monitortable.h"

class QScreen;

namespace ovra {

// The monitors as Qt sees them, in the clock's own terms: the table in the order
// Qt lists the screens, the primary's work area and the twips per pixel.
class Monitors {
public:
    static MonitorTable enumerate();
    static WinRect primaryWorkArea();
    static ScreenMetrics metrics();
    // The screen a table index stands for, or the primary one when it is gone.
    static QScreen* screenFor(int monitorId);
};

} // namespace ovra
