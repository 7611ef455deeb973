#include "shell/display.h"

#include <QByteArray>
#include <QtGlobal>

#include <xcb/xcb.h>

namespace ovra {

bool displayAvailable() {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty() && !platform.startsWith("xcb")) {
        if (platform.startsWith("wayland"))
            return !qgetenv("WAYLAND_DISPLAY").isEmpty() || !qgetenv("WAYLAND_SOCKET").isEmpty();
        return true; // offscreen, minimal, vnc: no display needed
    }
    if (platform.isEmpty() && !qgetenv("WAYLAND_DISPLAY").isEmpty())
        return true;
    if (qgetenv("DISPLAY").isEmpty())
        return false;
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const bool ok = c && xcb_connection_has_error(c) == 0;
    if (c)
        xcb_disconnect(c);
    return ok;
}

} // namespace ovra
