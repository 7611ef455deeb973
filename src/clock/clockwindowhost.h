#pragma once

#include "settings/settingsstore.h"

namespace ovra {

// The clock window and the other windows of the process, as the start-up, re-apply
// and shutdown sequences drive them. Implemented by the user interface; absent in
// command-line runs, where those steps simply do not happen.
class ClockWindowHost {
public:
    virtual ~ClockWindowHost() = default;

    // The screen's density, read before the record so that its position can be
    // turned into pixels.
    virtual ScreenDensity screenDensity() = 0;
    // Start-up, before the window shows: the face laid out for settings, a stored
    // monitor that is gone reset, the window sized, placed and captioned with its
    // surface, drawing tools and strip image.
    virtual void loadClockWindow(ClockSettings& settings) = 0;
    // Lets in what arrived meanwhile, a termination request above all.
    virtual void processPendingEvents() = 0;
    // Shows the window with its first frame.
    virtual void showClockWindow() = 0;
    // A re-apply: the window follows settings as the store gave them back (layout,
    // size, surface, drawing tools, stacking) and shows the new face. What it drew
    // with before is replaced, not handed back step by step.
    virtual void applySettings(const ClockSettings& settings) = 0;
    // Notice, about box, settings dialog, then the clock window.
    virtual void closeWindows() = 0;
};

} // namespace ovra
