#include "clock/windowsystem.h"

#include "clock/monitors.h"

#include <QCursor>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <QtMath>

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace ovra {

namespace {

xcb_connection_t* x11Connection() {
    if (QGuiApplication::platformName() != u"xcb")
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

} // namespace

QPoint DesktopWindowSystem::pointerPos() const {
    return QCursor::pos();
}

bool DesktopWindowSystem::pointerButtonsDown() const {
    xcb_connection_t* c = x11Connection();
    if (!c)
        return QGuiApplication::mouseButtons() != Qt::NoButton;
    // While the window manager moves the window it holds the pointer, so Qt sees no
    // release; the server knows the buttons.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!screen)
        return false;
    xcb_query_pointer_reply_t* reply =
        xcb_query_pointer_reply(c, xcb_query_pointer(c, screen->root), nullptr);
    if (!reply)
        return false;
    constexpr uint16_t kButtons = XCB_BUTTON_MASK_1 | XCB_BUTTON_MASK_2 | XCB_BUTTON_MASK_3 |
                                  XCB_BUTTON_MASK_4 | XCB_BUTTON_MASK_5;
    const bool down = (reply->mask & kButtons) != 0;
    std::free(reply);
    return down;
}

void DesktopWindowSystem::setInputShape(QWidget* window, const QRegion& region) {
    xcb_connection_t* c = x11Connection();
    if (!c || !window)
        return;
    // The input shape, unlike a mask, leaves the drawn pixels alone: the anti-aliased
    // edge stays soft while the transparent corners let clicks through.
    const qreal dpr = window->devicePixelRatioF();
    std::vector<xcb_rectangle_t> rects;
    for (const QRect& r : region) {
        const QRect d(QPoint(qFloor(r.left() * dpr), qFloor(r.top() * dpr)),
                      QPoint(qCeil((r.right() + 1) * dpr) - 1, qCeil((r.bottom() + 1) * dpr) - 1));
        rects.push_back(
            {int16_t(d.x()), int16_t(d.y()), uint16_t(d.width()), uint16_t(d.height())});
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_INPUT, XCB_CLIP_ORDERING_UNSORTED, id, 0,
                         0, uint32_t(rects.size()), rects.data());
    xcb_flush(c);
}

void DesktopWindowSystem::keepOffTaskbar(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (!c || !window)
        return;
    const char* const names[] = {"_NET_WM_STATE", "_NET_WM_STATE_SKIP_TASKBAR",
                                 "_NET_WM_STATE_SKIP_PAGER"};
    xcb_intern_atom_cookie_t cookies[3];
    for (int i = 0; i < 3; ++i)
        cookies[i] = xcb_intern_atom(c, 0, uint16_t(strlen(names[i])), names[i]);
    xcb_atom_t atoms[3] = {};
    for (int i = 0; i < 3; ++i) {
        if (xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookies[i], nullptr)) {
            atoms[i] = reply->atom;
            std::free(reply);
        }
    }
    if (!atoms[0] || !atoms[1] || !atoms[2])
        return;
    // On a window that is not mapped yet the state is simply its property; Qt keeps
    // the atoms it does not manage itself when it adds its own.
    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_change_property(c, XCB_PROP_MODE_APPEND, id, atoms[0], XCB_ATOM_ATOM, 32, 2, &atoms[1]);
    xcb_flush(c);
}

bool DesktopWindowSystem::startSystemMove(QWidget* window) {
    QWindow* handle = window ? window->windowHandle() : nullptr;
    return handle && handle->startSystemMove();
}

MonitorTable DesktopWindowSystem::monitors() const {
    return Monitors::enumerate();
}

WinRect DesktopWindowSystem::primaryWorkArea() const {
    return Monitors::primaryWorkArea();
}

ScreenMetrics DesktopWindowSystem::screenMetrics() const {
    return Monitors::metrics();
}

} // namespace ovra
