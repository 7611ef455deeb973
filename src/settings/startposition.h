#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

namespace ovra {

struct ClockSettings;

// The margin around the outermost circle of a clock's face, in pixels.
inline constexpr int kFaceMarginPx = 21;

// The side, in pixels, of the square window a clock with these settings shows.
int clockWindowSidePx(const ClockSettings& s);

// Where new clocks are spread: a work area in pixels and the twips per pixel that
// turn a stored position into pixels and back.
struct PlacementArea {
    QRect pixels;
    double tx = 15;
    double ty = 15;

    // Without a display (a clock added from a terminal) the screen is unknown: the
    // clocks are spread over 1024 x 768 pixels from the top-left corner at 96 dpi.
    // A clock that then starts on a smaller screen is moved into its work area.
    static PlacementArea withoutDisplay() { return {QRect(0, 0, 1024, 768), 15, 15}; }
};

// The top-left corner, in pixels, of a new clock's window of side sidePx: the first
// place, row by row from the top-left corner of the area in steps of one window,
// where it overlaps none of the taken rectangles; the rows wrap at the area's right
// edge. When no such place is left it stands a quarter window below and right of
// the last taken rectangle, wrapped into the area, rather than on top of it.
QPoint chooseStartPosition(const QList<QRect>& takenPx, const QRect& areaPx, int sidePx);

} // namespace ovra
