#include "toolkit/win32/clock_window.h"

#include "forms/windows.h"
#include "toolkit/win32/control_ids.h"
#include "toolkit/win32/fonts.h"
#include "toolkit/win32/text.h"
#include "toolkit/win32/win32_toolkit.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

namespace toolkit::win32 {
namespace {

constexpr UINT_PTR timerId = 1;

COLORREF colorref(forms::Rgb colour) { return RGB(colour.r, colour.g, colour.b); }

// A coordinate in pixels, kept well inside what GDI takes, whatever the tick assigns.
LONG pixel(float twips, UINT dpi) {
    constexpr double limit = 1 << 26;
    const double value = std::round(double(twips) * dpi / 1440.0);
    return std::isnan(value) ? 0 : static_cast<LONG>(std::clamp(value, -limit, limit));
}

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

MenuHandle menuBar(const forms::Form& form) {
    MenuHandle menu(CreateMenu());
    for (std::size_t i = 0; i < form.menu.size(); ++i)
        AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(menuId(i)),
                    menuCaption(form.menu[i].caption).c_str());
    return menu;
}

} // namespace

Dial::Dial(const forms::Form& form) {
    if (form.lines.size() != lines_.size())
        throw std::invalid_argument("a dial has seven lines");
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const forms::LineControl& def = form.lines[i];
        indexOf_[static_cast<std::size_t>(face::lineNamed(def.name))] = i;
        lines_[i].twips = {float(def.x1), float(def.y1), float(def.x2), float(def.y2)};
        lines_[i].widthPixels = def.widthPixels;
        lines_[i].colour = colorref(def.colour);
    }
}

void Dial::rescale(UINT dpi) {
    dpi_ = dpi;
    for (Painted& line : lines_) {
        // Widths are in pixels at 96 dpi, as everything else on a screen of that density.
        const int width = std::max(1, MulDiv(line.widthPixels, static_cast<int>(dpi), 96));
        const LOGBRUSH brush{BS_SOLID, line.colour, 0};
        line.pen.reset(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                                    static_cast<DWORD>(width), &brush, 0, nullptr));
        place(line);
    }
}

void Dial::place(Painted& line) const {
    line.from = {pixel(line.twips[0], dpi_), pixel(line.twips[1], dpi_)};
    line.to = {pixel(line.twips[2], dpi_), pixel(line.twips[3], dpi_)};
    // The round caps reach half the pen beyond the ends; a pixel more for the rounding.
    const LONG margin = std::max(1, MulDiv(line.widthPixels, static_cast<int>(dpi_), 96)) / 2 + 2;
    line.bounds = {
        std::min(line.from.x, line.to.x) - margin, std::min(line.from.y, line.to.y) - margin,
        std::max(line.from.x, line.to.x) + margin, std::max(line.from.y, line.to.y) + margin};
}

std::optional<Dial::Moved> Dial::setEnd(face::Line which, face::End end, float twips) {
    Painted& line = lines_.at(indexOf_.at(static_cast<std::size_t>(which)));
    float& slot = line.twips.at(static_cast<std::size_t>(end));
    if (slot == twips)
        return std::nullopt;
    const RECT left = line.bounds;
    slot = twips;
    place(line);
    return Moved{left, line.bounds};
}

const std::array<float, 4>& Dial::ends(face::Line line) const {
    return lines_.at(indexOf_.at(static_cast<std::size_t>(line))).twips;
}

void Dial::paint(HDC dc, const RECT& dirty) const {
    for (const Painted& line : lines_) {
        RECT common;
        if (!IntersectRect(&common, &line.bounds, &dirty))
            continue;
        const Selection pen(dc, line.pen.get());
        MoveToEx(dc, line.from.x, line.from.y, nullptr);
        LineTo(dc, line.to.x, line.to.y);
    }
}

ClockWindow::ClockWindow(Win32Toolkit& toolkit, const forms::Form& form, ui::WindowEvents& events)
    : TopLevel(toolkit, events, form, clockWindowClass, menuBar(form))
    , dial_(form)
    , background_(CreateSolidBrush(GetSysColor(COLOR_BTNFACE))) {
    const forms::Control* label = forms::findControl(form, "Label1");
    if (!label)
        throw std::invalid_argument("a clock window without its readout");
    label1_ =
        CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                        0, 0, 0, 0, hwnd(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(
                            controlId(static_cast<std::size_t>(label - form.controls.data())))),
                        toolkit.instance(), nullptr);
    relayout(dpi());
    toolkit.annotations().setName(hwnd(), widen(forms::dialAccessibleName));
    if (form.timerIntervalMs > 0)
        SetTimer(hwnd(), timerId, static_cast<UINT>(form.timerIntervalMs), nullptr);
    listen();
}

ClockWindow::~ClockWindow() {
    toolkit_.annotations().clear(hwnd());
    destroy();
}

void ClockWindow::relayout(UINT dpi) {
    const forms::Control& label = *forms::findControl(form_, "Label1");
    FontHandle font = definitionFont(*label.font, dpi);
    SendMessageW(label1_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    readoutFont_ = std::move(font);
    const RECT place = pixelRect(label.twips, dpi);
    SetWindowPos(label1_, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    dial_.rescale(dpi);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT ClockWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_TIMER:
        if (w != timerId)
            break;
        events_.timer();
        return 0;
    case WM_COMMAND:
        // Menu commands only: the readout sends none.
        if (HIWORD(w) == 0 && l == 0) {
            const int index = LOWORD(w) - firstMenuId;
            if (index >= 0 && static_cast<std::size_t>(index) < form_.menu.size()) {
                events_.click(form_.menu[static_cast<std::size_t>(index)].name);
            }
            return 0;
        }
        break;
    case WM_ERASEBKGND: return 1; // the painting fills the background itself
    case WM_PAINT: {
        const Painting painting(hwnd());
        paint(painting.dc(), painting.dirty());
        return 0;
    }
    case WM_PRINTCLIENT: { // a picture of the client area, as PrintWindow takes it
        RECT client{};
        GetClientRect(hwnd(), &client);
        paint(reinterpret_cast<HDC>(w), client);
        return 0;
    }
    default: break;
    }
    return defaultHandling(message, w, l);
}

void ClockWindow::paint(HDC target, const RECT& dirty) const {
    const int width = dirty.right - dirty.left;
    const int height = dirty.bottom - dirty.top;
    if (width <= 0 || height <= 0)
        return;
    // Drawn off screen and copied in one go, so that no line flickers over the background.
    const MemoryDc buffer(CreateCompatibleDC(target));
    const BitmapHandle bitmap(CreateCompatibleBitmap(target, width, height));
    if (!buffer || !bitmap)
        return;
    const Selection selected(buffer.get(), bitmap.get());
    SetViewportOrgEx(buffer.get(), -dirty.left, -dirty.top, nullptr);
    FillRect(buffer.get(), &dirty, background_.get());
    dial_.paint(buffer.get(), dirty);
    BitBlt(target, dirty.left, dirty.top, width, height, buffer.get(), dirty.left, dirty.top,
           SRCCOPY);
}

SIZE ClockWindow::clientPixels() const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    return {client.right, client.bottom};
}

float ClockWindow::ScaleWidth() { return float(clientPixels().cx) * 1440.0f / float(dpi()); }

float ClockWindow::ScaleHeight() { return float(clientPixels().cy) * 1440.0f / float(dpi()); }

void ClockWindow::setEnd(face::Line line, face::End end, float twips) {
    if (const auto moved = dial_.setEnd(line, end, twips)) {
        InvalidateRect(hwnd(), &moved->left, FALSE);
        InvalidateRect(hwnd(), &moved->entered, FALSE);
    }
}

void ClockWindow::setReadout(std::string_view caption) {
    if (caption == readoutText_)
        return;
    SetWindowTextW(label1_, widen(caption).c_str());
    readoutText_ = caption;
}

void ClockWindow::setTitle(std::string_view caption) {
    if (caption == title_)
        return;
    SetWindowTextW(hwnd(), widen(caption).c_str());
    title_ = caption;
}

void ClockWindow::setBackColor(forms::Rgb colour) {
    background_.reset(CreateSolidBrush(colorref(colour)));
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void ClockWindow::requestAttention() {
    FLASHWINFO flash{};
    flash.cbSize = sizeof flash;
    flash.hwnd = hwnd();
    flash.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;
    FlashWindowEx(&flash);
}

} // namespace toolkit::win32
