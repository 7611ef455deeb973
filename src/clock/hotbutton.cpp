#include "clock/hotbutton.h"

#include "clock/clocklayout.h"

namespace ovra {

namespace {
// The strip's three 21-pixel cells stand in the right-hand margin band, the top
// one level with the dial's top edge.
constexpr int kCell = kFaceMargin;
constexpr int kStripTop = kFaceMargin;
constexpr int kStripBottom = kStripTop + 3 * kCell;
} // namespace

int32_t hitZone(QPoint p, int windowSize) {
    if (p.x() <= windowSize - kCell)
        return hotbutton::Face;
    const int y = p.y();
    if (y > kStripTop && y < kStripTop + kCell)
        return hotbutton::Close;
    if (y > kStripTop + kCell && y < kStripTop + 2 * kCell)
        return hotbutton::Settings;
    if (y > kStripTop + 2 * kCell && y < kStripBottom)
        return hotbutton::Grip;
    return hotbutton::Face;
}

PointerWatchResult pointerWatch(const PointerWatchInput& in) {
    const double x = in.pointerPx.x() * in.tx, y = in.pointerPx.y() * in.ty;
    const double left = in.windowPosPx.x() * in.tx, top = in.windowPosPx.y() * in.ty;
    const double width = in.windowSizePx * in.tx, height = in.windowSizePx * in.ty;
    const bool inside = left < x && x < left + width && top < y && y < top + height;
    if (!inside)
        return {hotbutton::Hidden, false};
    const bool onBand = x > left + width - kCell * in.tx && top + kStripTop * in.ty < y &&
                        y < top + kStripBottom * in.ty;
    return {onBand ? in.hotButton : hotbutton::Face, true};
}

} // namespace ovra
