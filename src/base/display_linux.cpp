#include "base/display.h"

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

void choosePlatform() {
    // The clock is an X11 window: it places itself, shapes itself and stays on top,
    // none of which a Wayland client may do. In a Wayland session it runs through
    // Xwayland rather than as a native client that could do none of that.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && qEnvironmentVariableIsSet("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    // Qt 6.4 lets go of only the core pointer grab when it hands a move to the
    // window manager; with XInput 2 the press leaves a device grab behind, and a
    // window manager that then cannot grab the pointer drops the move silently
    // (openbox, once the clock has the focus). The clock uses nothing of XInput 2:
    // the core events carry its clicks, hovers and the wheel.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_XI2"))
        qputenv("QT_XCB_NO_XI2", "1");
}

} // namespace ovra
