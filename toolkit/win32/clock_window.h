#pragma once

#include "face/dial_lines.h"
#include "toolkit/win32/top_level.h"

#include <vector>

namespace toolkit::win32 {

// The clock window: the readout and the dial in its client area, painted double buffered,
// the menu bar of the definition's commands, and its timer.
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
    void setReadout(std::string_view caption) override { setCaption(*readout_, caption); }
    void setTitle(std::string_view caption) override;

    const face::DialLines& dial() const { return dial_; }

private:
    LRESULT handle(UINT message, WPARAM w, LPARAM l) override;
    void relayout(UINT dpi) override;
    void paint(HDC target, const RECT& dirty) const;
    SIZE clientPixels() const;

    face::DialLines dial_;
    std::vector<PenHandle> pens_; // in the order of painting
    BrushHandle background_;
    Control* readout_ = nullptr;
    std::string title_;
};

} // namespace toolkit::win32
