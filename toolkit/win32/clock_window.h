#pragma once

#include "face/dial_surface.h"
#include "toolkit/win32/top_level.h"

#include <vector>

namespace toolkit::win32 {

// The clock window: the readout and the dial in its client area, painted double buffered,
// the menu bar of the definition's commands, and its timer.
class ClockWindow final : public ui::ClockWindow, public face::DialSurface, public TopLevel {
public:
    ClockWindow(Win32Toolkit& toolkit, const forms::Form& form, ui::WindowEvents& events);
    ~ClockWindow() override;

    void show(ui::Window* owner, bool centre) override { showOwned(owner, centre); }
    face::Surface& clientArea() override { return *this; }
    void setBackColor(forms::Rgb colour) override;
    void requestAttention() override;

    float ScaleWidth() override;
    float ScaleHeight() override;
    void setReadout(std::string_view caption) override { setCaption(*readout_, caption); }
    void setTitle(std::string_view caption) override;

private:
    LRESULT handle(UINT message, WPARAM w, LPARAM l) override;
    void relayout(UINT dpi) override;
    void invalidate(const face::PixelRect& area) override;
    void paint(HDC target, const RECT& dirty);
    SIZE clientPixels() const;

    std::vector<PenHandle> pens_; // in the order of painting
    BrushHandle background_;
    BitmapHandle bitmap_; // the buffer's, selected into it: goes after it
    MemoryDc buffer_;
    SIZE bufferSize_{};
    Control* readout_ = nullptr;
    std::string title_;
};

} // namespace toolkit::win32
