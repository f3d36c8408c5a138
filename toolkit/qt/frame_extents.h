#pragma once

// The frame that an X11 window manager puts around a window, as it publishes it.

#include "ui/placement.h"

#include <optional>

#include <xcb/xcb.h>

class QWidget;

namespace toolkit::qt {

class FrameExtents {
public:
    // Where the platform is X11; none on the others (Wayland, offscreen).
    static std::optional<FrameExtents> onX11();

    // The frame as published (_NET_FRAME_EXTENTS) in the window's own scaled pixels, or none
    // while the window manager has not published one.
    std::optional<ui::FrameMargins> of(const QWidget& window) const;
    // Whether the window manager publishes frames at all: without that, none is coming.
    bool published() const;
    // Whether an event of the native event loop tells of a new frame of the window.
    bool changes(const void* event, const QWidget& window) const;

private:
    FrameExtents(xcb_connection_t* connection, xcb_atom_t atom)
        : connection_(connection)
        , atom_(atom) {}

    xcb_connection_t* connection_;
    xcb_atom_t atom_;
};

} // namespace toolkit::qt
