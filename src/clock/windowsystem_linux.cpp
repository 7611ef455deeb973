#include "clock/windowsystem.h"

#include "clock/frameextents.h"
#include "clock/monitors.h"

#include <QCursor>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <QtMath>

#include <sys/socket.h>
#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>
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

xcb_window_t rootWindow(xcb_connection_t* c) {
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// Whether the window manager lists the hint in _NET_SUPPORTED on the root window.
bool windowManagerSupports(xcb_connection_t* c, const char* hint) {
    const xcb_atom_t supported = internAtom(c, "_NET_SUPPORTED");
    const xcb_atom_t wanted = internAtom(c, hint);
    if (!supported || !wanted)
        return false;
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, rootWindow(c), supported, XCB_ATOM_ATOM, 0, 4096), nullptr);
    if (!reply)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
    const int count = reply->format == 32 ? xcb_get_property_value_length(reply) / 4 : 0;
    const bool found = std::find(atoms, atoms + count, wanted) != atoms + count;
    std::free(reply);
    return found;
}

// Whether a window manager has taken the window: it then carries WM_STATE.
bool managed(xcb_connection_t* c, xcb_window_t window) {
    const xcb_atom_t wmState = internAtom(c, "WM_STATE");
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, wmState, XCB_ATOM_ANY, 0, 1), nullptr);
    const bool taken = reply && reply->type != XCB_ATOM_NONE;
    std::free(reply);
    return wmState && taken;
}

void sendToRoot(xcb_connection_t* c, xcb_window_t window, xcb_atom_t type,
                std::array<uint32_t, 5> data) {
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = type;
    std::copy(data.begin(), data.end(), message.data.data32);
    xcb_send_event(c, 0, rootWindow(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
}

// The X server's time now. No request answers with it, but a property change comes
// back as an event stamped with it. Asked on a connection of its own: on Qt's, the
// toolkit's reader would take the event.
xcb_timestamp_t serverTimeNow() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    xcb_timestamp_t time = XCB_CURRENT_TIME;
    if (!xcb_connection_has_error(c)) {
        const xcb_window_t window = xcb_generate_id(c);
        const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, rootWindow(c), -1, -1, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                          &events);
        xcb_change_property(c, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                            0, nullptr);
        xcb_flush(c);
        while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
            const bool stamped = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
            if (stamped)
                time = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
            std::free(event);
            if (stamped)
                break;
        }
    }
    xcb_disconnect(c);
    return time;
}

// Source indication of a request made on the user's behalf by a pager or a like
// tool, which window managers carry out even where they keep programs from
// pushing themselves forward.
constexpr uint32_t kSourcePager = 2;
constexpr uint32_t kSourceApplication = 1;
constexpr uint32_t kMoveByKeyboard = 10; // _NET_WM_MOVERESIZE_MOVE_KEYBOARD
// A window shown just now is taken by the window manager within milliseconds; an
// activation sent before that is lost.
constexpr int kActivationRetryMs = 25;
constexpr int kActivationPatienceMs = 2000;

void sendActivation(QPointer<QWidget> window, xcb_timestamp_t time, QDeadlineTimer deadline) {
    xcb_connection_t* c = x11Connection();
    if (!c || !window || !window->isVisible())
        return;
    const xcb_window_t id = nativeWindow(window);
    if (!managed(c, id)) {
        if (!deadline.hasExpired())
            QTimer::singleShot(kActivationRetryMs, window, [window, time, deadline] {
                sendActivation(window, time, deadline);
            });
        return;
    }
    // The window that has the keyboard now, so the window manager can judge.
    xcb_window_t current = XCB_WINDOW_NONE;
    if (xcb_get_input_focus_reply_t* focus =
            xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr)) {
        current = focus->focus;
        std::free(focus);
    }
    sendToRoot(c, id, internAtom(c, "_NET_ACTIVE_WINDOW"), {kSourcePager, time, current, 0, 0});
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

bool DesktopWindowSystem::offersKeyboardMove() const {
    xcb_connection_t* c = x11Connection();
    return c && windowManagerSupports(c, "_NET_WM_MOVERESIZE");
}

bool DesktopWindowSystem::startKeyboardMove(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (!c || !window || !offersKeyboardMove())
        return false;
    // The window manager may put the pointer where the move starts: the dial's centre.
    const QPoint centre = window->geometry().center() * window->devicePixelRatioF();
    sendToRoot(
        c, nativeWindow(window), internAtom(c, "_NET_WM_MOVERESIZE"),
        {uint32_t(centre.x()), uint32_t(centre.y()), kMoveByKeyboard, 0, kSourceApplication});
    return true;
}

bool DesktopWindowSystem::keyboardHeldElsewhere() const {
    xcb_connection_t* c = x11Connection();
    if (!c)
        return false;
    // A grab of our own fails while another program holds the keyboard. The release
    // goes out with it and is the server's very next request from us, so a key press
    // could land here only in the moment between the two.
    const xcb_grab_keyboard_cookie_t cookie = xcb_grab_keyboard(
        c, 0, rootWindow(c), XCB_CURRENT_TIME, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_ungrab_keyboard(c, XCB_CURRENT_TIME);
    xcb_flush(c);
    xcb_grab_keyboard_reply_t* reply = xcb_grab_keyboard_reply(c, cookie, nullptr);
    const bool held = reply && (reply->status == XCB_GRAB_STATUS_ALREADY_GRABBED ||
                                reply->status == XCB_GRAB_STATUS_FROZEN);
    std::free(reply);
    return held;
}

void DesktopWindowSystem::activateForUser(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (!window)
        return;
    // Without a window manager that takes requests, Qt sets the keyboard focus itself.
    if (!c || !windowManagerSupports(c, "_NET_ACTIVE_WINDOW")) {
        window->activateWindow();
        return;
    }
    // Stamped with the time the request arrived: the user asked just now, and a
    // window the user works in afterwards is not pushed aside.
    sendActivation(window, serverTimeNow(), QDeadlineTimer(kActivationPatienceMs));
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

QRect DesktopWindowSystem::primaryWorkArea() const {
    return Monitors::primaryWorkArea();
}

ScreenDensity DesktopWindowSystem::screenDensity() const {
    return Monitors::density();
}

QMargins frameExtents(QWidget* window) {
    xcb_connection_t* c = x11Connection();
    if (!c || !window || !window->isWindow())
        return {};
    const xcb_window_t native = nativeWindow(window);
    const xcb_atom_t extentsAtom = internAtom(c, "_NET_FRAME_EXTENTS");
    const qreal ratio = window->devicePixelRatioF();
    const auto read = [&]() -> std::optional<QMargins> {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, native, extentsAtom, XCB_ATOM_CARDINAL, 0, 4), nullptr);
        std::optional<QMargins> margins;
        if (reply && reply->format == 32 && xcb_get_property_value_length(reply) == 16) {
            const auto* v = static_cast<const uint32_t*>(xcb_get_property_value(reply));
            // left, right, top, bottom in the display's pixels
            margins = QMargins(qRound(v[0] / ratio), qRound(v[2] / ratio), qRound(v[1] / ratio),
                               qRound(v[3] / ratio));
        }
        std::free(reply);
        return margins;
    };
    if (!extentsAtom)
        return {};
    if (const auto known = read())
        return *known;
    if (window->isVisible() || !windowManagerSupports(c, "_NET_REQUEST_FRAME_EXTENTS"))
        return {};
    sendToRoot(c, native, internAtom(c, "_NET_REQUEST_FRAME_EXTENTS"), {0, 0, 0, 0, 0});
    // The window manager answers by setting the property, within a round trip or two.
    QElapsedTimer waited;
    waited.start();
    while (!waited.hasExpired(250)) {
        if (const auto answered = read())
            return *answered;
        QThread::msleep(5);
    }
    return {};
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
