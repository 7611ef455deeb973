#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

namespace ovra {

// Where a window of frame size `frame` stands centred on `area`.
QPoint centredIn(const QRect& area, const QSize& frame);

// Where a window of frame size `frame` stands next to `anchor` (another window's
// frame), inside `work`: to its right when it fits there, else to its left, else
// below or above it, else wherever it covers the least of the anchor. Never
// outside `work` when it fits inside it at all.
QPoint besideAnchor(const QRect& anchor, const QSize& frame, const QRect& work);

// Places a top-level window by its whole frame, title bar and borders included.
// The frame is known only once the window manager has framed the window, so the
// position is computed for the bare window before it is shown and computed again
// whenever the frame's size becomes known or changes during the first seconds it is
// shown. A move by the user is never undone. `where` returns the frame's top-left
// corner for a given frame size.
// `extents`, where given, tells the frame before the window manager has framed the
// window (as it can say when asked before mapping); empty margins mean "not known".
void placeByFrame(QWidget* window, std::function<QPoint(const QSize& frame)> where,
                  std::function<QMargins()> extents = {});

} // namespace ovra
