#include "face/dial_lines.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <string_view>

namespace face {
namespace {

Line lineNamed(std::string_view name) {
    constexpr std::array<std::string_view, lineCount> names{"Line1",  "Line2",  "Line3", "Line9",
                                                            "Line10", "Line11", "Line12"};
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i] == name)
            return static_cast<Line>(i);
    throw std::invalid_argument("no line named " + std::string(name));
}

// Far beyond any screen, yet whole pixels to either side still fit an int, and drawing
// libraries take the coordinate without overflowing.
constexpr double farthest = 1 << 24;

double pixel(float twips, int dpi) {
    return std::clamp(static_cast<double>(twips) * dpi / forms::twipsPerInch, -farthest, farthest);
}

} // namespace

DialLines::DialLines(std::span<const forms::LineControl> lines, int dpi) {
    if (lines.size() != lineCount)
        throw std::invalid_argument("a dial has seven lines");
    for (std::size_t slot = 0; slot < lineCount; ++slot) {
        const forms::LineControl& def = lines[slot];
        const Line line = lineNamed(def.name);
        slot_[static_cast<std::size_t>(line)] = slot;
        twips_[static_cast<std::size_t>(line)] = {float(def.x1), float(def.y1), float(def.x2),
                                                  float(def.y2)};
        widthAtStandard_[slot] = def.widthPixels;
        painted_[slot].line = line;
        painted_[slot].colour = def.colour;
    }
    rescale(dpi);
}

void DialLines::rescale(int dpi) {
    dpi_ = dpi;
    for (std::size_t slot = 0; slot < lineCount; ++slot)
        place(slot);
}

void DialLines::place(std::size_t slot) {
    Painted& line = painted_[slot];
    const auto& ends = twips_[static_cast<std::size_t>(line.line)];
    line.width = std::max(1, static_cast<int>(std::lround(double(widthAtStandard_[slot]) * dpi_ /
                                                          forms::standardDpi)));
    line.x1 = pixel(ends[0], dpi_);
    line.y1 = pixel(ends[1], dpi_);
    line.x2 = pixel(ends[2], dpi_);
    line.y2 = pixel(ends[3], dpi_);
    // A round cap reaches half the pen beyond each end; a pixel more each side for the
    // rounding of the ends to whole pixels and of the pen's edge.
    const int margin = line.width / 2 + 2;
    line.bounds = {static_cast<int>(std::floor(std::min(line.x1, line.x2))) - margin,
                   static_cast<int>(std::floor(std::min(line.y1, line.y2))) - margin,
                   static_cast<int>(std::ceil(std::max(line.x1, line.x2))) + margin + 1,
                   static_cast<int>(std::ceil(std::max(line.y1, line.y2))) + margin + 1};
}

DialLines::Repaint DialLines::move(std::size_t slot) {
    const PixelRect left = painted_[slot].bounds;
    place(slot);
    return {left, painted_[slot].bounds};
}

} // namespace face
