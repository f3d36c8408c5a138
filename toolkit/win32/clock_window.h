#pragma once

#include "face/surface.h"
#include "toolkit/win32/top_level.h"

#include <array>
#include <optional>
#include <string>

namespace toolkit::win32 {

// The seven lines of the dial as the tick places them, in twips, and as they are painted
// at a DPI: their pens, their ends in pixels and the rectangle that each covers.
class Dial {
public:
    explicit Dial(const forms::Form& form);

    void rescale(UINT dpi);
    // Moves an end; the rectangles that the line leaves and enters then need painting.
    struct Moved {
        RECT left;
        RECT entered;
    };
    std::optional<Moved> setEnd(face::Line line, face::End end, float twips);
    void paint(HDC dc, const RECT& dirty) const;

    const std::array<float, 4>& ends(face::Line line) const;

private:
    struct Painted {
        std::array<float, 4> twips{}; // X1, Y1, X2, Y2
        int widthPixels = 1;
        COLORREF colour = 0;
        PenHandle pen;
        POINT from{};
        POINT to{};
        RECT bounds{};
    };
    void place(Painted& line) const;

    // In the order of the definition, which is the order of painting: hands over marks.
    std::array<Painted, face::lineCount> lines_;
    std::array<std::size_t, face::lineCount> indexOf_{}; // face::Line -> lines_
    UINT dpi_ = 96;
};

// The clock window: the readout Label1 and the dial in its client area, painted double
// buffered, the menu bar of the definition's commands, and its timer.
class ClockWindow final : public ui::ClockWindow, public face::Surface, public TopLevel {
public:
    ClockWindow(Win32Toolkit& toolkit, const forms::Form& form, ui::WindowEvents& events);
    ~ClockWindow() override;

    void show(ui::Window* owner, bool centre) override { showOwned(owner, centre); }
    face::Surface& clientArea() override { return *this; }
    void setBackColor(forms::Rgb colour) override;
    void requestAttention() override;

    float ScaleWidth() override;
    float ScaleHeight() override;
    void setEnd(face::Line line, face::End end, float twips) override;
    void setReadout(std::string_view caption) override;
    void setTitle(std::string_view caption) override;

    const Dial& dial() const { return dial_; }
    HWND readout() const { return label1_; }

private:
    LRESULT handle(UINT message, WPARAM w, LPARAM l) override;
    void relayout(UINT dpi) override;
    void paint(HDC target, const RECT& dirty) const;
    SIZE clientPixels() const;

    Dial dial_;
    BrushHandle background_;
    FontHandle readoutFont_;
    HWND label1_ = nullptr; // a child: destroyed with the window
    std::string readoutText_;
    std::string title_;
};

} // namespace toolkit::win32
