#pragma once

#include "clock/clocklayout.h"
#include "clock/monitortable.h"
#include "settings/settingsstore.h"

#include <QDateTime>

namespace ovra {

// The clock window and the other windows of the process, as the start-up, re-apply
// and shutdown sequences drive them. Implemented by the user interface; absent in
// command-line runs, where those steps simply do not happen.
class ClockWindowHost {
public:
    virtual ~ClockWindowHost() = default;

    virtual void computeLayout() = 0;   // screen metrics and the face layout
    virtual void checkMonitor() = 0;    // resets a stored monitor that is gone
    virtual void loadClockWindow() = 0; // size, surface, caption, position, z-order
    virtual void createDrawTools() = 0;
    virtual void deleteDrawTools() = 0;
    virtual void loadButtonImage() = 0;
    virtual void releaseImages() = 0;
    virtual void deleteSurface() = 0;
    virtual void fitToLayout() = 0; // resize to the new layout and make a new surface
    virtual void processPendingEvents() = 0;
    virtual void showClockWindow() = 0;
    virtual void applyZOrder() = 0; // topmost band when AlwaysOnTop is 1
    // Notice, about box, settings dialog, then the clock window.
    virtual void closeWindows() = 0;
};

// What the clock window reads and changes of the process that shows it: the
// record, the face layout, the screen metrics and monitors of start-up, the time.
class ClockWindowContext {
public:
    virtual ~ClockWindowContext() = default;
    virtual ClockState& state() = 0;
    virtual ClockSettings& settings() = 0;
    virtual ClockLayout& layout() = 0;
    virtual ScreenMetrics& screenMetrics() = 0;
    virtual MonitorTable& monitors() = 0;
    // The date and time the clock shows now.
    virtual QDateTime clockTimeNow() const = 0;
    // The wall clock to the millisecond. Zone offsets are whole minutes, so the
    // seconds the clock shows begin with its seconds.
    virtual QDateTime nowUtc() const = 0;
    // The close button: the clock shuts down, saving its settings when asked.
    virtual void shutdownClock(bool save) = 0;
};

} // namespace ovra
