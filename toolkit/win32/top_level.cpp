#include "toolkit/win32/top_level.h"

#include "toolkit/win32/resource_ids.h"
#include "toolkit/win32/text.h"
#include "toolkit/win32/win32_toolkit.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

namespace toolkit::win32 {
namespace {

constexpr DWORD frameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

} // namespace

RECT pixelRect(const forms::Rect& twips, UINT dpi) {
    const int left = pixels(twips.left, dpi);
    const int top = pixels(twips.top, dpi);
    return {left, top, left + pixels(twips.width, dpi), top + pixels(twips.height, dpi)};
}

TopLevel::TopLevel(Win32Toolkit& toolkit, ui::WindowEvents& events, const forms::Form& form,
                   const wchar_t* windowClass, MenuHandle menu)
    : toolkit_(toolkit)
    , events_(events)
    , form_(form)
    , window_(CreateWindowExW(0, windowClass, widen(form.caption).c_str(), frameStyle,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              menu.get(), toolkit.instance(), nullptr)) {
    if (!window_)
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "CreateWindowExW");
    menu.release(); // the window's from now on
    loadIcons(dpi());
    fitClientArea();
}

TopLevel::~TopLevel() { destroy(); }

void TopLevel::destroy() noexcept {
    if (window_)
        SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    window_.reset();
}

void TopLevel::listen() {
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

LRESULT CALLBACK TopLevel::procedure(HWND window, UINT message, WPARAM w, LPARAM l) noexcept {
    auto* self = reinterpret_cast<TopLevel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, w, l);
    // Destroyed with its owner, or by the system: the handle is no longer the object's.
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        (void)self->window_.release();
        return DefWindowProcW(window, message, w, l);
    }
    Win32Toolkit& toolkit = self->toolkit_; // the handler may destroy the object
    try {
        return self->handle(message, w, l);
    } catch (const std::exception& fault) {
        toolkit.logFault(fault.what());
    } catch (...) {
        toolkit.logFault("an unknown fault");
    }
    return message == WM_CLOSE ? 0 : DefWindowProcW(window, message, w, l);
}

LRESULT TopLevel::defaultHandling(UINT message, WPARAM w, LPARAM l) {
    HWND window = window_.get();
    switch (message) {
    case WM_CLOSE:
        // The handler may destroy this object: nothing of it is touched after the call.
        events_.closeBox();
        return 0;
    case WM_DPICHANGED: {
        const RECT& suggested = *reinterpret_cast<const RECT*>(l);
        loadIcons(HIWORD(w));
        relayout(HIWORD(w));
        SetWindowPos(window, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        // Labels in the colours of a button's face, as the definitions' labels have.
        const auto dc = reinterpret_cast<HDC>(w);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    default: return DefWindowProcW(window, message, w, l);
    }
}

void TopLevel::loadIcons(UINT dpi) {
    const auto load = [this, dpi](int widthMetric, int heightMetric) {
        return IconHandle(static_cast<HICON>(
            LoadImageW(toolkit_.instance(), MAKEINTRESOURCEW(IDI_CLOCK), IMAGE_ICON,
                       GetSystemMetricsForDpi(widthMetric, dpi),
                       GetSystemMetricsForDpi(heightMetric, dpi), LR_DEFAULTCOLOR)));
    };
    IconHandle big = load(SM_CXICON, SM_CYICON);
    IconHandle small = load(SM_CXSMICON, SM_CYSMICON);
    SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

void TopLevel::fitClientArea() {
    const UINT dpi = this->dpi();
    const int width = pixels(form_.clientWidth, dpi);
    const int height = pixels(form_.clientHeight, dpi);
    HWND window = window_.get();
    const bool hasMenu = GetMenu(window) != nullptr;
    RECT frame{0, 0, width, height};
    AdjustWindowRectExForDpi(&frame, frameStyle, hasMenu, 0, dpi);
    int frameHeight = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame was reckoned with a menu bar of one row; a bar that wraps takes more.
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT client;
        GetClientRect(window, &client);
        if (client.bottom == height)
            break;
        frameHeight += height - client.bottom;
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frameHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TopLevel::centre(HWND owner) {
    HWND window = window_.get();
    // Moving to a monitor of another DPI resizes the window: centred again at its new size.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const UINT before = dpi();
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTOPRIMARY),
                        &monitor);
        const RECT& area = monitor.rcWork;
        RECT frame;
        GetWindowRect(window, &frame);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        // A frame larger than the work area keeps its title bar and close box on screen.
        const int left = std::max(area.left, area.left + (area.right - area.left - width) / 2);
        const int top = std::max(area.top, area.top + (area.bottom - area.top - height) / 2);
        SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (dpi() == before)
            break;
    }
}

void TopLevel::showOwned(ui::Window* owner, bool centre) {
    HWND window = window_.get();
    HWND ownerWindow = nullptr;
    if (owner) {
        auto* ownerTopLevel = dynamic_cast<TopLevel*>(owner);
        if (!ownerTopLevel)
            throw std::invalid_argument("an owner from another toolkit");
        ownerWindow = ownerTopLevel->hwnd();
    }
    // An owned window stays in front of its owner and is minimised and restored with it.
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
    if (centre)
        this->centre(ownerWindow);
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window);
    SetActiveWindow(window);
}

} // namespace toolkit::win32
