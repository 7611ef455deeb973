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
    virtual void computeLayout() = 0;   // the face layout
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
    virtual void applyZOrder() = 0; // the topmost band when the clock stays on top
    // Notice, about box, settings dialog, then the clock window.
    virtual void closeWindows() = 0;
};

} // namespace ovra
