#pragma once

#include "forms/form_def.h"

namespace ui {

// The frame that the window manager puts around a window, beyond each edge of it, in the
// screen's pixels: fractions of a window's pixel on a scaled screen.
struct FrameMargins {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    friend constexpr bool operator==(const FrameMargins&, const FrameMargins&) = default;
};

struct Position {
    int x = 0;
    int y = 0;
    friend constexpr bool operator==(Position, Position) = default;
};

// Where a window of this size goes (its own top-left corner, whole pixels) so that with its
// frame it is centred on the work area. The frame's top-left corner never goes above or left
// of the area, so that on a screen smaller than the window the title bar stays within reach.
Position centredPosition(int width, int height, const FrameMargins& frame, const forms::Rect& area);

} // namespace ui
