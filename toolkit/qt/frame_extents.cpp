#include "toolkit/qt/frame_extents.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>

namespace toolkit::qt {
namespace {

template <class Reply> using Owned = std::unique_ptr<Reply, decltype(&free)>;

xcb_atom_t atomNamed(xcb_connection_t* connection, std::string_view name, bool onlyIfExists) {
    const Owned<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, onlyIfExists,
                                              static_cast<std::uint16_t>(name.size()), name.data()),
                              nullptr),
        &free);
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace

std::optional<FrameExtents> FrameExtents::onX11() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return std::nullopt;
    // One round trip a run.
    static const xcb_atom_t atom = atomNamed(x11->connection(), "_NET_FRAME_EXTENTS", false);
    return FrameExtents(x11->connection(), atom);
}

// Left, right, top, bottom in the screen's pixels, turned into the window's scaled ones.
std::optional<ui::FrameMargins> FrameExtents::of(const QWidget& window) const {
    const auto cookie = xcb_get_property(connection_, 0, xcb_window_t(window.winId()), atom_,
                                         XCB_ATOM_CARDINAL, 0, 4);
    const Owned<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection_, cookie, nullptr), &free);
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.get()) != 16)
        return std::nullopt;
    std::array<std::uint32_t, 4> e{};
    std::copy_n(static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get())), 4,
                e.begin());
    const qreal ratio = window.windowHandle()->devicePixelRatio();
    return ui::FrameMargins{e[0] / ratio, e[2] / ratio, e[1] / ratio, e[3] / ratio};
}

// The window manager lists _NET_FRAME_EXTENTS among the hints it supports (_NET_SUPPORTED on
// the root window).
bool FrameExtents::published() const {
    const xcb_atom_t supported = atomNamed(connection_, "_NET_SUPPORTED", true);
    if (supported == XCB_ATOM_NONE)
        return false;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    const auto cookie = xcb_get_property(connection_, 0, root, supported, XCB_ATOM_ATOM, 0, 4096);
    const Owned<xcb_get_property_reply_t> hints(
        xcb_get_property_reply(connection_, cookie, nullptr), &free);
    if (!hints || hints->format != 32)
        return false;
    const auto* first = static_cast<const xcb_atom_t*>(xcb_get_property_value(hints.get()));
    const auto* last = first + xcb_get_property_value_length(hints.get()) / 4;
    return std::find(first, last, atom_) != last;
}

bool FrameExtents::changes(const void* message, const QWidget& window) const {
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_PROPERTY_NOTIFY)
        return false;
    const auto* notify = static_cast<const xcb_property_notify_event_t*>(message);
    return notify->atom == atom_ && notify->window == window.winId();
}

} // namespace toolkit::qt
