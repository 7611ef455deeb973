#include "settings/startposition.h"

#include "settings/clocksettings.h"

#include <algorithm>

namespace ovra {

int clockWindowSidePx(const ClockSettings& s) {
    return 2 * (s.SecondCircleWidth + s.MinuteCircleWidth + s.HourCircleWidth + s.ClockRadius +
                kFaceMarginPx);
}

QPoint chooseStartPosition(const QList<QRect>& takenPx, const QRect& areaPx, int sidePx) {
    const int side = std::max(1, sidePx);
    const auto isFree = [&](QPoint at) {
        const QRect r(at, QSize(side, side));
        return std::none_of(takenPx.begin(), takenPx.end(),
                            [&](const QRect& t) { return t.intersects(r); });
    };
    for (int y = areaPx.top(); y == areaPx.top() || y + side <= areaPx.bottom() + 1; y += side)
        for (int x = areaPx.left(); x == areaPx.left() || x + side <= areaPx.right() + 1; x += side)
            if (isFree({x, y}))
                return {x, y};
    if (takenPx.isEmpty())
        return areaPx.topLeft();
    const QPoint next = takenPx.last().topLeft() + QPoint(side / 4, side / 4);
    const int spanX = std::max(1, areaPx.width() - side);
    const int spanY = std::max(1, areaPx.height() - side);
    const auto wrap = [](int v, int span) {
        return ((v % span) + span) % span;
    };
    return {areaPx.left() + wrap(next.x() - areaPx.left(), spanX),
            areaPx.top() + wrap(next.y() - areaPx.top(), spanY)};
}

} // namespace ovra
