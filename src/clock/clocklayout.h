#pragma once

#include "settings/clocksettings.h"
#include "settings/startposition.h"

#include <QRectF>

#include <array>

namespace ovra {

// The empty band between the dial and the window edge on every side; the button
// strip lives in its right-hand part.
inline constexpr int kFaceMargin = kFaceMarginPx;

// A scale line from (x1, y1) to (x2, y2), surface pixels.
struct TickLine {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    friend bool operator==(const TickLine&, const TickLine&) = default;
};

// Where everything on the face goes, derived from the four size settings. Every
// rectangle is a square centred on (Center, Center); arc rectangles run along the
// middle of their ring so a pen as wide as the ring covers exactly its band.
struct ClockLayout {
    int center = 0;
    int innerDiameter = 0;
    QRectF dialRect;        // outer edge of the dial
    QRectF secondArcRect;   // middle of the second ring
    QRectF minuteOuterRect; // border between the minute and second rings
    QRectF minuteArcRect;   // middle of the minute ring
    QRectF hourOuterRect;   // border between the hour and minute rings
    QRectF hourArcRect;     // middle of the hour ring
    QRectF innerRect;       // the text disc
    std::array<TickLine, 24> hourTicks{};
    int hourTickCount = 0; // 12 in 12-hour mode, 24 in 24-hour mode
    std::array<TickLine, 60> minuteTicks{};

    // Width and height of the window and of the drawing surface, in pixels.
    int windowSize() const { return 2 * center; }
    bool isValid() const { return center > 0; }

    friend bool operator==(const ClockLayout&, const ClockLayout&) = default;
};

// Computed at start-up and on every re-apply of the settings, never per frame: all
// the trigonometry of the face happens here. Expects normalised settings.
ClockLayout calcClockLayout(const ClockSettings& s);

} // namespace ovra
