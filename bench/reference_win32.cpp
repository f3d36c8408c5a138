// The Windows twin of bench/reference.cpp, the same three programs made of user32, gdi32 and
// the window definitions alone; without a manifest, the dialog's field is user32's own edit
// control. The bare window has the clock window's menu bar too.

#include "forms/definitions.h"

#include <windows.h>

#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr DWORD frameStyle = WS_OVERLAPPEDWINDOW;
int dpi = forms::standardDpi;
HWND readout = nullptr;
POINT centre{};
std::array<POINT, 3> hands{}; // the outer ends of the second, minute and hour hand
std::array<HPEN, 3> pens{};

// Line1, Line2 and Line3, the last three lines defined, are the second, minute and hour hand.
const forms::LineControl& hand(std::size_t i) {
    return forms::mainFormDefinition.lines[forms::mainFormDefinition.lines.size() - 1 - i];
}

std::wstring widen(std::string_view text) {
    std::array<wchar_t, 256> out{};
    return {out.data(), static_cast<std::size_t>(MultiByteToWideChar(
                            CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                            static_cast<int>(out.size())))};
}

HWND child(HWND parent, DWORD exStyle, const wchar_t* type, DWORD style, const forms::Rect& twips,
           const forms::Font& font) {
    const forms::Rect r = forms::pixels(twips, dpi);
    HWND made = CreateWindowExW(exStyle, type, L"", WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                                r.width, r.height, parent, nullptr, nullptr, nullptr);
    HFONT handle =
        CreateFontW(-MulDiv(font.pointSize, dpi, 72), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, 0,
                    0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, widen(font.family).c_str());
    SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(handle), FALSE);
    return made;
}

// Where a hand was and where it is are painted again, and nothing else.
void show(HWND window, const SYSTEMTIME& now) {
    wchar_t text[32];
    wsprintfW(text, L"%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
    SetWindowTextW(readout, text);
    wsprintfW(text, L"%u時%02u分%02u秒", now.wHour, now.wMinute, now.wSecond);
    SetWindowTextW(window, text);
    const std::array<double, 3> turns{now.wSecond / 60.0, now.wMinute / 60.0,
                                      now.wHour % 12 / 12.0};
    for (std::size_t i = 0; i < hands.size(); ++i) {
        const double angle = 2 * std::numbers::pi * turns[i];
        const LONG reach = std::min(centre.x, centre.y);
        const POINT end{centre.x + std::lround(std::sin(angle) * reach),
                        centre.y - std::lround(std::cos(angle) * reach)};
        if (end.x == hands[i].x && end.y == hands[i].y)
            continue;
        const int m = hand(i).widthPixels;
        for (const POINT& at : {hands[i], end}) {
            const RECT area{std::min(centre.x, at.x) - m, std::min(centre.y, at.y) - m,
                            std::max(centre.x, at.x) + m, std::max(centre.y, at.y) + m};
            InvalidateRect(window, &area, TRUE);
        }
        hands[i] = end;
    }
}

LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) {
    static WORD second = 60;
    SYSTEMTIME now;
    PAINTSTRUCT paint;
    switch (message) {
    case WM_TIMER:
        if (readout && (GetLocalTime(&now), now.wSecond != std::exchange(second, now.wSecond)))
            show(window, now);
        return 0;
    case WM_PAINT:
        BeginPaint(window, &paint);
        for (std::size_t i = 0; readout && i < pens.size(); ++i) {
            SelectObject(paint.hdc, pens[i]);
            MoveToEx(paint.hdc, centre.x, centre.y, nullptr);
            LineTo(paint.hdc, hands[i].x, hands[i].y);
        }
        EndPaint(window, &paint);
        return 0;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: return DefWindowProcW(window, message, w, l);
    }
}

HWND topLevel(const wchar_t* type, const forms::FormDefinition& form, HMENU menu) {
    const int height = forms::pixels(form.clientHeight, dpi);
    RECT frame{0, 0, forms::pixels(form.clientWidth, dpi), height};
    AdjustWindowRectEx(&frame, frameStyle, menu != nullptr, 0);
    HWND window = CreateWindowExW(0, type, widen(form.caption).c_str(), frameStyle, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                  nullptr, menu, nullptr, nullptr);
    RECT client{};
    GetClientRect(window, &client); // a menu bar that wraps takes more than one row
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top + height - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return window;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int show) {
    const std::string_view mode = arguments;
    const bool floorProgram = mode != "bare" && mode != "tick";
    const forms::Rgb back = forms::mainBackground;
    WNDCLASSW type{};
    type.lpfnWndProc = procedure;
    type.hInstance = instance;
    type.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    type.hbrBackground = floorProgram ? CreateSolidBrush(RGB(back.r, back.g, back.b))
                                      : GetSysColorBrush(COLOR_WINDOW);
    type.lpszClassName = L"AlarmClockBench.Window";
    RegisterClassW(&type);
    type.lpfnWndProc = DefWindowProcW;
    type.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    type.lpszClassName = L"AlarmClockBench.Dialog";
    RegisterClassW(&type);
    dpi = GetDeviceCaps(GetDC(nullptr), LOGPIXELSY); // a DC of the screen, held to the end

    HMENU menu = CreateMenu();
    for (const forms::MenuItem& item : forms::mainFormDefinition.menu)
        AppendMenuW(menu, MF_STRING, 0, widen(item.caption).c_str());
    HWND window = topLevel(L"AlarmClockBench.Window", forms::mainFormDefinition, menu);
    if (mode != "bare")
        SetTimer(window, 1, static_cast<UINT>(forms::mainFormDefinition.timerIntervalMs), nullptr);
    ShowWindow(window, show);
    UpdateWindow(window);
    if (floorProgram) {
        RECT client{};
        GetClientRect(window, &client);
        centre = {client.right / 2, client.bottom / 2};
        hands.fill(centre);
        for (std::size_t i = 0; i < pens.size(); ++i) {
            const forms::LineControl& line = hand(i);
            const LOGBRUSH brush{BS_SOLID, RGB(line.colour.r, line.colour.g, line.colour.b), 0};
            pens[i] = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND,
                                   static_cast<DWORD>(line.widthPixels), &brush, 0, nullptr);
        }
        readout = child(window, 0, L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                        forms::mainFormDefinition.controls[0].twips, forms::readoutFont);
        HWND dialog = topLevel(L"AlarmClockBench.Dialog", forms::form1Definition, nullptr);
        HWND field =
            child(dialog, WS_EX_CLIENTEDGE, L"EDIT", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL,
                  forms::findControl(forms::form1Definition, "Text1")->twips, forms::dialogFont);
        ShowWindow(dialog, SW_SHOW);
        SetForegroundWindow(dialog);
        SetFocus(field);
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
