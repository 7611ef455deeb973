#pragma once

#include <QPoint>

#include <cstdint>

namespace ovra {

// State of the button strip at the window's top right.
namespace hotbutton {
inline constexpr int32_t Hidden = -1; // strip not drawn
inline constexpr int32_t Face = 0;    // pointer on the window, no button under it
inline constexpr int32_t Close = 1;
inline constexpr int32_t Settings = 2;
inline constexpr int32_t Grip = 3;
} // namespace hotbutton

// The button under a pointer at p (window pixels) on a window windowSize pixels
// wide. Every border is strict: a pointer exactly on one belongs to no button.
int32_t hitZone(QPoint p, int windowSize);

// Window geometry and pointer, as the pointer watch compares them.
struct PointerWatchInput {
    QPoint pointerPx;   // screen pixels
    QPoint windowPosPx; // the window's top left corner, screen pixels
    int windowSizePx = 0;
    int32_t hotButton = hotbutton::Hidden;
};

struct PointerWatchResult {
    int32_t hotButton;
    bool keepWatching; // false: the pointer has left and the watch stops
};

// One tick of the pointer watch. Outside the window the strip hides and the watch
// stops; inside but off the strip band a highlighted button falls back to the
// plain strip; on the band the state stays as the mouse events set it.
PointerWatchResult pointerWatch(const PointerWatchInput& in);

} // namespace ovra
