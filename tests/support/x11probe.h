#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QSize>
#include <QStringList>

namespace ovra::test::x11 {

// Questions a test asks the X server on DISPLAY (or `display`), each over a short
// connection of its own. Windows are X window ids.

bool selectionOwned(const char* selection, const QString& display = {});
// The atom names in the window's _NET_WM_STATE.
QStringList windowState(quint32 window);
// The child of the root that holds the window: its frame under a reparenting
// window manager, else the window itself.
quint32 topLevelOf(quint32 window);
// The window itself (no frame) in root coordinates.
QRect geometryOnRoot(quint32 window);
// The whole window as the user sees it, frame included, in root coordinates.
QRect frameGeometry(quint32 window);
// The children of the root, bottom to top.
QList<quint32> stackingOrder();
// From the root's child under the pointer down to the deepest window there, as
// the server picks them (input shapes count).
QList<quint32> windowsUnderPointer();
// The rectangles of the window's bounding shape, in window pixels; one rectangle
// covering the window when it has no shape.
QList<QRect> boundingShape(quint32 window);
// The pixels the window's client last put into it, read back from the server as
// they are stored: rows of 32-bit pixels, premultiplied ARGB for a 32-bit window.
struct WindowPixels {
    QSize size;
    int depth = 0;
    QByteArray data; // empty on failure
};
WindowPixels windowPixels(quint32 window);

} // namespace ovra::test::x11
