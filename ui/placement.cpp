#include "ui/placement.h"

#include <algorithm>
#include <cmath>

namespace ui {
namespace {

int centred(int size, double before, double after, int areaStart, int areaSize) {
    const double frameStart = areaStart + (areaSize - (size + before + after)) / 2;
    return std::max(static_cast<int>(std::lround(frameStart + before)),
                    areaStart + static_cast<int>(std::ceil(before)));
}

} // namespace

Position centredPosition(int width, int height, const FrameMargins& frame,
                         const forms::Rect& area) {
    return {centred(width, frame.left, frame.right, area.left, area.width),
            centred(height, frame.top, frame.bottom, area.top, area.height)};
}

} // namespace ui
