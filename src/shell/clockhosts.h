#pragma once

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
    virtual void deleteGraphic() = 0;
    virtual void iniForm() = 0; // resize to the new layout and make a new surface
    virtual void processPendingEvents() = 0;
    virtual void showClockWindow() = 0;
    virtual void applyZOrder() = 0; // topmost band when AlwaysOnTop is 1
    // Notice, about box, settings dialog, then the clock window.
    virtual void closeWindows() = 0;
};

// The alarm side of start-up: the shutdown privilege and the alarm file.
class AlarmHost {
public:
    virtual ~AlarmHost() = default;
    virtual void enableShutdownPrivilege() = 0;
    virtual void loadAlarmFile() = 0;
    virtual void resetNotice() = 0; // no alarm is being notified
    // Closes the notice window; the shutdown runs it right before closeWindows(),
    // so the notice goes first.
    virtual void closeNotice() {}
};

// Keeps the per-clock autostart entry in line with the Autorun choice.
class AutorunHost {
public:
    virtual ~AutorunHost() = default;
    virtual int syncAutorunEntry(int wish) = 0;
};

} // namespace ovra
