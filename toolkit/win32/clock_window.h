#pragma once

#include "face/dial_surface.h"
#include "toolkit/win32/top_level.h"

#include <vector>

namespace toolkit::win32 {

// The clock window: the readout and the dial in its client area, painted double buffered,
// the menu bar of the definition's commands, and its timer.
class ClockWindow final : public ui::ClockWindow, private WindowMessages {
public:
    ClockWindow(Win32Toolkit& toolkit, const forms::FormDefinition& form, ui::WindowEvents& events);

    void show(bool centre) override { window_.show(nullptr, centre); }
    face::Surface& clientArea() override { return clientArea_; }
    void setBackColor(forms::Rgb colour) override;
    void requestAttention() override;

    const NativeWindow& window() const { return window_; }
    const face::DialLines& dial() const { return clientArea_.dial(); }

private:
    // The client area as the clock face sees it, in twips at the window's DPI.
    class ClientArea final : public face::DialSurface {
    public:
        ClientArea(ClockWindow& clock, const forms::FormDefinition& form);
        float ScaleWidth() override;
        float ScaleHeight() override;
        void setReadout(std::string_view caption) override;
        void setTitle(std::string_view caption) override;
        using DialSurface::paintDial;
        using DialSurface::rescaleDial;

    private:
        void invalidate(const face::PixelRect& area) override;
        ClockWindow& clock_;
        std::string title_;
    };

    std::optional<LRESULT> handle(UINT message, WPARAM w, LPARAM l) override;
    void rescaled(UINT dpi) override;
    void paint(HDC target, const RECT& dirty);
    SIZE clientPixels() const;

    std::vector<PenHandle> pens_; // in the order of painting
    BrushHandle background_;
    BitmapHandle bitmap_; // the buffer's, selected into it: goes after it
    MemoryDc buffer_;
    SIZE bufferSize_{};
    ClientArea clientArea_;
    NativeWindow window_; // goes first, before what it paints with
    Control* readout_ = nullptr;
};

} // namespace toolkit::win32
