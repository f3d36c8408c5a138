// The Windows program's yardstick under Wine: a plain user32 window with the clock window's
// client area (its twips at the screen's DPI, 481 x 359 pixels at 96 dpi) and a menu bar with
// the clock's items, and nothing else: no controls, no fonts of its own, no manifest. With the
// argument "tick" a 100 ms timer runs whose WM_TIMER does nothing: the floor of the clock's
// idle CPU time, ten wake-ups a second. Closing the window ends it.

#include "forms/definitions.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr wchar_t windowClass[] = L"AlarmClockBench.Bare";
constexpr DWORD frameStyle = WS_OVERLAPPEDWINDOW;

std::wstring widen(std::string_view text) {
    std::wstring out(text.size(), L'\0');
    out.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out.data(),
                                   int(out.size())));
    return out;
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_TIMER: return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, w, l);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int show) {
    WNDCLASSW type{};
    type.lpfnWndProc = procedure;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    type.lpszClassName = windowClass;
    RegisterClassW(&type);

    HMENU menu = CreateMenu();
    for (std::size_t i = 0; i < forms::mainForm.menu.size(); ++i)
        AppendMenuW(menu, MF_STRING, 2000 + i, widen(forms::mainForm.menu[i].caption).c_str());

    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const int width = MulDiv(forms::mainForm.clientWidth, dpi, 1440);
    const int height = MulDiv(forms::mainForm.clientHeight, dpi, 1440);
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, frameStyle, TRUE, 0);
    HWND window = CreateWindowExW(0, windowClass, L"bare window", frameStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, menu, instance, nullptr);
    if (!window)
        return 1;
    // A menu bar that wraps takes more than the one row reckoned with.
    RECT client;
    GetClientRect(window, &client);
    if (client.bottom != height)
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left,
                     frame.bottom - frame.top + height - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (arguments && std::strcmp(arguments, "tick") == 0)
        SetTimer(window, 1, 100, nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
