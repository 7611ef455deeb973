#pragma once

#include <QtGlobal>

namespace ovra::platformtext {

// The texts of the interface that are worded for this platform rather than as the
// program first had them, where the first wording named another system's parts
// and would be plainly wrong here. Stored names (values, keys, files) never change;
// only what a user reads does. Each says what it replaces and why.

// Was "Load at &Windows Startup:": the clock starts with the desktop session, through
// an autostart entry, whatever the system.
inline constexpr const char* StartAtLogin =
    QT_TRANSLATE_NOOP("ovra::GeneralPage", "Start at &Login:");

// Was "Load GDI+ Error!": no graphics library is loaded at start-up here; what can
// fail is the connection to the display.
inline constexpr const char* NoDisplay = QT_TRANSLATE_NOOP("Messages", "Cannot open the display.");

} // namespace ovra::platformtext
