#pragma once

#include <QMargins>

class QWidget;

namespace ovra {

// The frame the window manager puts around a top-level window, in the window's own
// pixels, as the window manager states it (_NET_FRAME_EXTENTS). Asked for before
// the window is first shown, where the window manager offers that
// (_NET_REQUEST_FRAME_EXTENTS), so that the window can be placed by its whole frame
// from the start. Null margins when nobody says: no window manager, no X11.
QMargins frameExtents(QWidget* window);

} // namespace ovra
