#pragma once

#include "face/dial_lines.h"
#include "face/surface.h"

#include <cstddef>
#include <span>

namespace face {

// A client area that shows the dial: its lines where the tick puts them, a moved line
// repainted only where it leaves and where it enters. A front-end does the two things that
// only it can: it invalidates an area of its window, and it draws a line with its pen, for
// the lines and in the order that paintDial() gives.
class DialSurface : public Surface {
public:
    void setEnd(Line line, End end, float twips) final;

    const DialLines& dial() const { return dial_; }

protected:
    explicit DialSurface(std::span<const forms::LineControl> lines, int dpi = forms::standardDpi);

    void rescaleDial(int dpi) { dial_.rescale(dpi); }

    // Draws each line that reaches into the dirty area, in the order of painting (the hands
    // over the marks): draw(pen, line), `pen` being the line's place in that order, the place
    // of its pen among those that the front-end made from dial().inPaintOrder().
    template <class Draw> void paintDial(const PixelRect& dirty, Draw&& draw) const {
        const std::span<const DialLines::Painted> lines = dial_.inPaintOrder();
        for (std::size_t pen = 0; pen < lines.size(); ++pen)
            if (lines[pen].bounds.intersects(dirty))
                draw(pen, lines[pen]);
    }

private:
    virtual void invalidate(const PixelRect& area) = 0;

    DialLines dial_;
};

} // namespace face
