#pragma once

#include "alarms/alarmtable.h"
#include "settings/clockmodel.h"

#include <functional>

namespace ovra {

class Autorun;
class ClockList;
class ColourPicker;
class FileChooser;

// What the settings dialog works on and with. Everything but the clock process
// itself is a seam, so tests drive the real dialog against doubles.
struct ConfigServices {
    ClockModel& clock;
    // The clock's alarms, with the index of the one the notice shows.
    AlarmTable& alarms;
    // OK and Apply: store the record, read it back and redraw the clock. False, with
    // the record kept and nothing read back, when the store would not take it.
    std::function<bool()> applySettings;
    // Shuts the own clock down, saving its settings when asked.
    std::function<void(bool save)> shutdownClock;
    ClockList& clocks;
    Autorun& autorun;
    ColourPicker& colours;
    FileChooser& files;
    // Shows the about box (one per process).
    std::function<void()> showAbout = {};
    // The pause after a clock was added, started, stopped or deleted, so that the
    // list shows the other processes' new state; blocks like a sleep.
    std::function<void(int ms)> wait = {};
    // Closes the own clock window after the dialog shut the clock down.
    std::function<void()> closeOwnClock = {};
};

// How long the clocks page waits before it reloads the list, in milliseconds.
inline constexpr int kClockListSettleMs = 1000;

} // namespace ovra
