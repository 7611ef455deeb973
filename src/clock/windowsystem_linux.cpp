#include "clock/windowsystem.h"

#include "clock/monitors.h"

#include <QCursor>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <QtMath>

#include <sys/socket.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <algorithm>
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

// The native window as it is now. QWidget::winId() can name a window Qt has
// replaced: Qt maps a new native window when always on top changed before the
// first show, without telling the widget.
xcb_window_t nativeWindow(const QWidget* window) {
    if (const QWindow* handle = window->windowHandle())
        return static_cast<xcb_window_t>(handle->winId());
    return static_cast<xcb_window_t>(window->winId());
}

xcb_atom_t internAtom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

// Room on the connection for the areas a second changes, at the largest face
// about 120 KB, four times over (see below).
constexpr int kSendBufferBytes = 1024 * 1024;

} // namespace

DesktopWindowSystem::DesktopWindowSystem() {
    // Frames go over the connection, not through shared memory. A local socket
    // counts as writable only while less than a quarter of its send buffer is on
    // its way, and libxcb waits for that before each 16 KB it writes: with the
    // usual buffer, the areas of one second of the largest face made the clock
    // sleep until the server had read the first of them. The system may grant less
    // than asked; that only means waiting as before.
    if (xcb_connection_t* c = x11Connection()) {
        const int bytes = kSendBufferBytes;
        setsockopt(xcb_get_file_descriptor(c), SOL_SOCKET, SO_SNDBUF, &bytes, sizeof bytes);
    }
}

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

void DesktopWindowSystem::setWindowShape(QWidget* window, const QRegion& region) {
    xcb_connection_t* c = x11Connection();
    if (!c || !window)
        return;
    const qreal dpr = window->devicePixelRatioF();
    std::vector<xcb_rectangle_t> rects;
    for (const QRect& r : region) {
        const QRect d(QPoint(qFloor(r.left() * dpr), qFloor(r.top() * dpr)),
                      QPoint(qCeil((r.right() + 1) * dpr) - 1, qCeil((r.bottom() + 1) * dpr) - 1));
        rects.push_back(
            {int16_t(d.x()), int16_t(d.y()), uint16_t(d.width()), uint16_t(d.height())});
    }
    const xcb_window_t id = nativeWindow(window);
    // The input shape alone lets clicks through the transparent corners only while
    // the window is a child of the root. A reparenting window manager puts it into
    // a frame of its own, and the frame takes those clicks: window managers copy a
    // client's bounding shape to its frame, not its input shape. The region holds
    // the whole soft edge of the dial, so the bounding shape cuts away nothing that
    // is drawn.
    for (const auto kind : {XCB_SHAPE_SK_BOUNDING, XCB_SHAPE_SK_INPUT})
        xcb_shape_rectangles(c, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_UNSORTED, id, 0, 0,
                             uint32_t(rects.size()), rects.data());
    xcb_flush(c);
}

void DesktopWindowSystem::keepOffTaskbar(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (!c || !window)
        return;
    const xcb_atom_t state = internAtom(c, "_NET_WM_STATE");
    const xcb_atom_t skip[2] = {internAtom(c, "_NET_WM_STATE_SKIP_TASKBAR"),
                                internAtom(c, "_NET_WM_STATE_SKIP_PAGER")};
    if (!state || !skip[0] || !skip[1])
        return;
    const xcb_window_t id = nativeWindow(window);
    // Before the window manager has taken the window the state is the window's own
    // property; afterwards it belongs to the window manager, which is asked, and a
    // write of the property could undo a change it has not made yet (always on top
    // just toggled). A managed window carries WM_STATE. Right after a map request
    // the window may be in either hand: then both are done, since a window manager
    // ignores a request for a window it does not manage yet and reads the property
    // when it takes the window.
    const xcb_atom_t wmState = internAtom(c, "WM_STATE");
    bool managed = false;
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, id, wmState, XCB_ATOM_ANY, 0, 1), nullptr)) {
        managed = reply->type != XCB_ATOM_NONE;
        std::free(reply);
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = id;
    message.type = state;
    message.data.data32[0] = 1; // add
    message.data.data32[1] = skip[0];
    message.data.data32[2] = skip[1];
    message.data.data32[3] = 1; // from an ordinary application
    const auto ask = [&] {
        xcb_send_event(c, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                       reinterpret_cast<const char*>(&message));
        xcb_flush(c);
    };
    if (managed && wmState) {
        ask();
        return;
    }
    // Qt writes the property afresh when it maps the window or changes its flags
    // (always on top); only what is missing is added.
    std::vector<xcb_atom_t> atoms;
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, id, state, XCB_ATOM_ATOM, 0, 64), nullptr)) {
        const auto* data = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        if (reply->format == 32)
            atoms.assign(data, data + xcb_get_property_value_length(reply) / 4);
        std::free(reply);
    }
    for (const xcb_atom_t a : skip)
        if (std::find(atoms.begin(), atoms.end(), a) == atoms.end())
            atoms.push_back(a);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        uint32_t(atoms.size()), atoms.data());
    ask();
}

bool DesktopWindowSystem::startSystemMove(QWidget* window) {
    QWindow* handle = window ? window->windowHandle() : nullptr;
    return handle && handle->startSystemMove();
}

QPoint DesktopWindowSystem::windowPosition(QWidget* window) const {
    xcb_connection_t* c = x11Connection();
    if (!c || !window)
        return window ? window->pos() : QPoint();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_translate_coordinates_reply_t* reply = xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, nativeWindow(window), root, 0, 0), nullptr);
    if (!reply)
        return window->pos();
    // Device pixels on the wire; the window's position is in Qt's logical pixels.
    const qreal dpr = window->devicePixelRatioF();
    const QPoint where(qRound(reply->dst_x / dpr), qRound(reply->dst_y / dpr));
    std::free(reply);
    return where;
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

QByteArray desktopAccessibilityBus() {
    xcb_connection_t* c = x11Connection();
    if (!c)
        return {};
    const xcb_atom_t atom = internAtom(c, "AT_SPI_BUS");
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (atom == XCB_ATOM_NONE || !screen)
        return {};
    // As long as Qt reads it: 128 words of four bytes.
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, screen->root, atom, XCB_ATOM_STRING, 0, 128), nullptr);
    if (!reply)
        return {};
    const QByteArray address(static_cast<const char*>(xcb_get_property_value(reply)),
                             xcb_get_property_value_length(reply));
    std::free(reply);
    return address;
}

} // namespace ovra
