#pragma once

#include "face/surface.h"
#include "forms/form_def.h"

#include <array>
#include <cmath>
#include <optional>
#include <span>

namespace face {

// A rectangle of whole pixels; right and bottom lie just outside it.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool intersects(const PixelRect& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The seven lines of the dial: where the tick has put their ends, in twips, and where they
// are painted at a density of pixels. A front-end paints them in order, each with a
// round-capped pen of its colour and width, and repaints only what setEnd() says has changed.
class DialLines {
public:
    struct Painted {
        Line line;
        forms::Rgb colour;
        int width = 1;         // pixels
        double x1 = 0, y1 = 0; // pixels from the client area's top-left corner
        double x2 = 0, y2 = 0;
        PixelRect bounds; // all that the line covers, its caps included
    };
    using Repaint = std::array<PixelRect, 2>; // the area a line leaves, the area it enters

    // The lines of a window definition, painted in the order that it lists them: the hands
    // over the marks.
    explicit DialLines(std::span<const forms::LineControl> lines, int dpi = forms::standardDpi);

    // At another density: widths are pixels at the standard one and grow with it.
    void rescale(int dpi);

    // Assigns one coordinate. Nothing to repaint when it already has that value, as it has at
    // nine ticks in ten; a value that is not a number has no place, and the line stays where
    // it is.
    std::optional<Repaint> setEnd(Line line, End end, float twips) {
        float& value = twips_[static_cast<std::size_t>(line)][static_cast<std::size_t>(end)];
        if (value == twips || std::isnan(twips))
            return std::nullopt;
        value = twips;
        return move(slot_[static_cast<std::size_t>(line)]);
    }

    std::span<const Painted> inPaintOrder() const { return painted_; }
    const Painted& painted(Line line) const {
        return painted_[slot_[static_cast<std::size_t>(line)]];
    }

private:
    Repaint move(std::size_t slot);
    void place(std::size_t slot);

    std::array<std::array<float, 4>, lineCount> twips_{}; // X1, Y1, X2, Y2 by Line
    std::array<int, lineCount> widthAtStandard_{};
    std::array<Painted, lineCount> painted_{};
    std::array<std::size_t, lineCount> slot_{}; // by Line
    int dpi_ = forms::standardDpi;
};

} // namespace face
