#include "toolkit/win32/placement.h"

#include "ui/placement.h"

namespace toolkit::win32 {
namespace {

SIZE frameOf(HWND window, SIZE client, UINT dpi) {
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)),
                             GetMenu(window) != nullptr,
                             static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)), dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

} // namespace

void showInFront(HWND window) {
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window);
    SetActiveWindow(window);
}

void centreByFrame(HWND window, HWND owner) {
    // Moving to a monitor of another DPI resizes the window: centred again at its new size.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const UINT before = GetDpiForWindow(window);
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTOPRIMARY),
                        &monitor);
        const RECT& area = monitor.rcWork;
        RECT frame{};
        GetWindowRect(window, &frame);
        const ui::Position position = ui::centredPosition(
            frame.right - frame.left, frame.bottom - frame.top, {},
            {area.left, area.top, area.right - area.left, area.bottom - area.top});
        SetWindowPos(window, nullptr, position.x, position.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (GetDpiForWindow(window) == before)
            break;
    }
}

void fitClientArea(HWND window, SIZE client) {
    const SIZE frame = frameOf(window, client, GetDpiForWindow(window));
    int height = frame.cy;
    // The frame is reckoned with a menu bar of one row; a bar that wraps takes more.
    for (int attempt = 0; attempt < 4; ++attempt) {
        SetWindowPos(window, nullptr, 0, 0, frame.cx, height,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        RECT placed{};
        GetClientRect(window, &placed);
        if (placed.bottom == client.cy)
            break;
        height += client.cy - placed.bottom;
    }
}

SIZE frameAtDpi(HWND window, UINT dpi) {
    RECT client{};
    GetClientRect(window, &client);
    const auto from = static_cast<int>(GetDpiForWindow(window));
    const auto to = static_cast<int>(dpi);
    return frameOf(window, {MulDiv(client.right, to, from), MulDiv(client.bottom, to, from)}, dpi);
}

} // namespace toolkit::win32
