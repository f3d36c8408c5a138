#include "face/dial_surface.h"

namespace face {

DialSurface::DialSurface(std::span<const forms::LineControl> lines, int dpi)
    : dial_(lines, dpi) {}

void DialSurface::setEnd(Line line, End end, float twips) {
    if (const auto repaint = dial_.setEnd(line, end, twips))
        for (const PixelRect& area : *repaint)
            invalidate(area);
}

} // namespace face
