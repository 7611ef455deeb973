#include "support/x11probe.h"

#include <xcb/shape.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace ovra::test::x11 {

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeDeleter>;

class Connection {
public:
    explicit Connection(const QString& display = {}) {
        const QByteArray name = display.toLocal8Bit();
        m_c = xcb_connect(display.isEmpty() ? nullptr : name.constData(), nullptr);
        if (xcb_connection_has_error(m_c))
            return;
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
    }
    ~Connection() { xcb_disconnect(m_c); }
    bool ok() const { return m_root != 0; }
    xcb_connection_t* c() const { return m_c; }
    xcb_window_t root() const { return m_root; }

    xcb_atom_t atom(const char* name) const {
        Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(
            m_c, xcb_intern_atom(m_c, 1, uint16_t(std::strlen(name)), name), nullptr));
        return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
    }
    QString atomName(xcb_atom_t atom) const {
        Reply<xcb_get_atom_name_reply_t> r(
            xcb_get_atom_name_reply(m_c, xcb_get_atom_name(m_c, atom), nullptr));
        if (!r)
            return {};
        return QString::fromLatin1(xcb_get_atom_name_name(r.get()),
                                   xcb_get_atom_name_name_length(r.get()));
    }
    xcb_window_t parentOf(xcb_window_t w) const {
        Reply<xcb_query_tree_reply_t> r(xcb_query_tree_reply(m_c, xcb_query_tree(m_c, w), nullptr));
        return r ? r->parent : xcb_window_t(XCB_WINDOW_NONE);
    }

private:
    xcb_connection_t* m_c = nullptr;
    xcb_window_t m_root = 0;
};

} // namespace

bool selectionOwned(const char* selection, const QString& display) {
    Connection x(display);
    if (!x.ok())
        return false;
    const xcb_atom_t a = x.atom(selection);
    if (a == XCB_ATOM_NONE)
        return false;
    Reply<xcb_get_selection_owner_reply_t> r(
        xcb_get_selection_owner_reply(x.c(), xcb_get_selection_owner(x.c(), a), nullptr));
    return r && r->owner != XCB_WINDOW_NONE;
}

QStringList windowState(quint32 window) {
    Connection x;
    QStringList names;
    if (!x.ok())
        return names;
    Reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
        x.c(), xcb_get_property(x.c(), 0, window, x.atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 64),
        nullptr));
    if (!r || r->format != 32)
        return names;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(r.get()));
    for (int i = 0; i < xcb_get_property_value_length(r.get()) / 4; ++i)
        names << x.atomName(atoms[i]);
    return names;
}

quint32 topLevelOf(quint32 window) {
    Connection x;
    if (!x.ok())
        return 0;
    xcb_window_t w = window;
    for (int depth = 0; depth < 16; ++depth) {
        const xcb_window_t parent = x.parentOf(w);
        if (parent == XCB_WINDOW_NONE)
            return 0;
        if (parent == x.root())
            return w;
        w = parent;
    }
    return 0;
}

QRect frameGeometry(quint32 window) {
    const quint32 top = topLevelOf(window);
    Connection x;
    if (!top || !x.ok())
        return {};
    Reply<xcb_get_geometry_reply_t> r(
        xcb_get_geometry_reply(x.c(), xcb_get_geometry(x.c(), top), nullptr));
    if (!r)
        return {};
    return QRect(r->x, r->y, r->width + 2 * r->border_width, r->height + 2 * r->border_width);
}

QRect geometryOnRoot(quint32 window) {
    Connection x;
    if (!x.ok())
        return {};
    Reply<xcb_get_geometry_reply_t> g(
        xcb_get_geometry_reply(x.c(), xcb_get_geometry(x.c(), window), nullptr));
    Reply<xcb_translate_coordinates_reply_t> t(xcb_translate_coordinates_reply(
        x.c(), xcb_translate_coordinates(x.c(), window, x.root(), 0, 0), nullptr));
    if (!g || !t)
        return {};
    return QRect(t->dst_x, t->dst_y, g->width, g->height);
}

QList<quint32> stackingOrder() {
    Connection x;
    QList<quint32> order;
    if (!x.ok())
        return order;
    Reply<xcb_query_tree_reply_t> r(
        xcb_query_tree_reply(x.c(), xcb_query_tree(x.c(), x.root()), nullptr));
    if (!r)
        return order;
    const xcb_window_t* children = xcb_query_tree_children(r.get());
    for (int i = 0; i < xcb_query_tree_children_length(r.get()); ++i)
        order << children[i];
    return order;
}

QList<quint32> windowsUnderPointer() {
    Connection x;
    QList<quint32> chain;
    if (!x.ok())
        return chain;
    xcb_window_t w = x.root();
    for (int depth = 0; depth < 16; ++depth) {
        Reply<xcb_query_pointer_reply_t> r(
            xcb_query_pointer_reply(x.c(), xcb_query_pointer(x.c(), w), nullptr));
        if (!r || r->child == XCB_WINDOW_NONE)
            break;
        chain << r->child;
        w = r->child;
    }
    return chain;
}

QList<QRect> boundingShape(quint32 window) {
    Connection x;
    QList<QRect> rects;
    if (!x.ok())
        return rects;
    Reply<xcb_shape_get_rectangles_reply_t> r(xcb_shape_get_rectangles_reply(
        x.c(), xcb_shape_get_rectangles(x.c(), window, XCB_SHAPE_SK_BOUNDING), nullptr));
    if (!r)
        return rects;
    const xcb_rectangle_t* list = xcb_shape_get_rectangles_rectangles(r.get());
    for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(r.get()); ++i)
        rects << QRect(list[i].x, list[i].y, list[i].width, list[i].height);
    return rects;
}

WindowPixels windowPixels(quint32 window) {
    Connection x;
    if (!x.ok())
        return {};
    Reply<xcb_get_geometry_reply_t> g(
        xcb_get_geometry_reply(x.c(), xcb_get_geometry(x.c(), window), nullptr));
    if (!g || (g->depth != 32 && g->depth != 24))
        return {};
    Reply<xcb_get_image_reply_t> r(xcb_get_image_reply(
        x.c(),
        xcb_get_image(x.c(), XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, g->width, g->height, ~0u),
        nullptr));
    const int bytes = g->width * g->height * 4;
    if (!r || xcb_get_image_data_length(r.get()) < bytes)
        return {};
    return {QSize(g->width, g->height), g->depth,
            QByteArray(reinterpret_cast<const char*>(xcb_get_image_data(r.get())), bytes)};
}

} // namespace ovra::test::x11
