#pragma once

namespace ovra {

// Whether the windowing system can be reached before any window is made, so that a
// clock started without a display says so and exits instead of aborting.
bool displayAvailable();

// Settles how the clock talks to the desktop, before the application object is
// made; what the user set in the environment stays.
void choosePlatform();

} // namespace ovra
