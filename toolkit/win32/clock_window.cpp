#include "toolkit/win32/clock_window.h"

#include "toolkit/win32/control_ids.h"
#include "toolkit/win32/text.h"
#include "toolkit/win32/toolkit.h"

#include <cmath>
#include <stdexcept>

namespace toolkit::win32 {
namespace {

constexpr UINT_PTR timerId = 1;

COLORREF colorref(forms::Rgb colour) { return RGB(colour.r, colour.g, colour.b); }

// Menu captions are shown as they are: an ampersand marks no access key.
std::wstring menuCaption(std::string_view caption) {
    std::wstring text;
    for (const wchar_t c : widen(caption)) {
        text += c;
        if (c == L'&')
            text += L'&';
    }
    return text;
}

MenuHandle menuBar(const forms::FormDefinition& form) {
    MenuHandle menu(CreateMenu());
    for (std::size_t i = 0; i < form.menu.size(); ++i)
        AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(menuId(i)),
                    menuCaption(form.menu[i].caption).c_str());
    return menu;
}

} // namespace

ClockWindow::ClientArea::ClientArea(ClockWindow& clock, const forms::FormDefinition& form)
    : DialSurface(form.lines)
    , clock_(clock) {}

float ClockWindow::ClientArea::ScaleWidth() {
    return forms::twips(clock_.clientPixels().cx, static_cast<int>(clock_.window_.dpi()));
}

float ClockWindow::ClientArea::ScaleHeight() {
    return forms::twips(clock_.clientPixels().cy, static_cast<int>(clock_.window_.dpi()));
}

void ClockWindow::ClientArea::setReadout(std::string_view caption) {
    clock_.window_.setCaption(*clock_.readout_, caption);
}

void ClockWindow::ClientArea::setTitle(std::string_view caption) {
    if (caption == title_)
        return;
    SetWindowTextW(clock_.window_.hwnd(), widen(caption).c_str());
    title_ = caption;
}

void ClockWindow::ClientArea::invalidate(const face::PixelRect& area) {
    const RECT rect{area.left, area.top, area.right, area.bottom};
    InvalidateRect(clock_.window_.hwnd(), &rect, FALSE);
}

ClockWindow::ClockWindow(Win32Toolkit& toolkit, const forms::FormDefinition& form,
                         ui::WindowEvents& events)
    : background_(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)))
    , clientArea_(*this, form)
    , window_(toolkit, events, form, clockWindowClass, menuBar(form)) {
    for (const Control& control : window_.controls())
        if (control.def->kind == forms::Kind::Readout)
            readout_ = &window_.find(control.def->name);
    if (!readout_)
        throw std::invalid_argument("a clock window without its readout");
    window_.listen(*this);
    window_.relayout(window_.dpi());
    if (form.timerIntervalMs > 0)
        SetTimer(window_.hwnd(), timerId, static_cast<UINT>(form.timerIntervalMs), nullptr);
}

void ClockWindow::rescaled(UINT dpi) {
    clientArea_.rescaleDial(static_cast<int>(dpi));
    pens_.clear();
    for (const face::DialLines::Painted& line : clientArea_.dial().inPaintOrder()) {
        const LOGBRUSH brush{BS_SOLID, colorref(line.colour), 0};
        pens_.emplace_back(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                                        static_cast<DWORD>(line.width), &brush, 0, nullptr));
    }
}

std::optional<LRESULT> ClockWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_TIMER:
        if (w != timerId)
            break;
        window_.events().timer();
        return 0;
    case WM_COMMAND:
        // Menu commands only: the readout sends none.
        if (HIWORD(w) == 0 && l == 0) {
            const int index = LOWORD(w) - firstMenuId;
            const forms::FormDefinition& form = window_.form();
            if (index >= 0 && static_cast<std::size_t>(index) < form.menu.size())
                window_.events().click(form.menu[static_cast<std::size_t>(index)].name);
            return 0;
        }
        break;
    case WM_ERASEBKGND: return 1; // the painting fills the background itself
    case WM_PAINT: {
        const Painting painting(window_.hwnd());
        paint(painting.dc(), painting.dirty());
        return 0;
    }
    case WM_PRINTCLIENT: { // a picture of the client area, as PrintWindow takes it
        RECT client{};
        GetClientRect(window_.hwnd(), &client);
        paint(reinterpret_cast<HDC>(w), client);
        return 0;
    }
    default: break;
    }
    return std::nullopt;
}

void ClockWindow::paint(HDC target, const RECT& dirty) {
    const int width = dirty.right - dirty.left;
    const int height = dirty.bottom - dirty.top;
    if (width <= 0 || height <= 0)
        return;
    // Drawn off screen and copied in one go, so that no line flickers over the background. The
    // buffer covers the client area and is kept from one paint to the next, as the client area
    // repaints every second.
    const SIZE client = clientPixels();
    if (!buffer_ || client.cx != bufferSize_.cx || client.cy != bufferSize_.cy) {
        buffer_.reset();
        bitmap_.reset(CreateCompatibleBitmap(target, client.cx, client.cy));
        if (!bitmap_)
            return;
        buffer_.reset(CreateCompatibleDC(target));
        if (!buffer_)
            return;
        SelectObject(buffer_.get(), bitmap_.get());
        bufferSize_ = client;
    }
    HDC buffer = buffer_.get();
    FillRect(buffer, &dirty, background_.get());
    clientArea_.paintDial({dirty.left, dirty.top, dirty.right, dirty.bottom},
                          [&](std::size_t pen, const face::DialLines::Painted& line) {
                              const Selection withPen(buffer, pens_[pen].get());
                              MoveToEx(buffer, std::lround(line.x1), std::lround(line.y1), nullptr);
                              LineTo(buffer, std::lround(line.x2), std::lround(line.y2));
                          });
    BitBlt(target, dirty.left, dirty.top, width, height, buffer, dirty.left, dirty.top, SRCCOPY);
}

SIZE ClockWindow::clientPixels() const {
    RECT client{};
    GetClientRect(window_.hwnd(), &client);
    return {client.right, client.bottom};
}

void ClockWindow::setBackColor(forms::Rgb colour) {
    background_.reset(CreateSolidBrush(colorref(colour)));
    InvalidateRect(window_.hwnd(), nullptr, FALSE);
}

void ClockWindow::requestAttention() {
    FLASHWINFO flash{};
    flash.cbSize = sizeof flash;
    flash.hwnd = window_.hwnd();
    flash.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;
    FlashWindowEx(&flash);
}

} // namespace toolkit::win32
