#pragma once

namespace ovra {

// Whether the windowing system can be reached before any window is made, so that a
// clock started without a display says so and exits instead of aborting.
bool displayAvailable();

} // namespace ovra
