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
    const int x = in.pointerPx.x(), y = in.pointerPx.y();
    const int left = in.windowPosPx.x(), top = in.windowPosPx.y();
    const int size = in.windowSizePx;
    const bool inside = left < x && x < left + size && top < y && y < top + size;
    if (!inside)
        return {hotbutton::Hidden, false};
    const bool onBand = x > left + size - kCell && top + kStripTop < y && y < top + kStripBottom;
    return {onBand ? in.hotButton : hotbutton::Face, true};
}

} // namespace ovra
