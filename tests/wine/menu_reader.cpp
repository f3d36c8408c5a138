// Put into the clock's process by the driver's hook, as a screen reader's hook is, since a
// menu is read only in the process that owns it: on the driver's message it reads the menu
// bar of the window and sets it, as JSON ([[identifier, "caption"], ...]), as the text of the
// driver's window that the message names (WM_SETTEXT is marshalled across processes).

#include <windows.h>

#include <string>

extern "C" __declspec(dllexport) LRESULT CALLBACK readMenu(int code, WPARAM w, LPARAM l) {
    const auto& call = *reinterpret_cast<const CWPSTRUCT*>(l);
    if (code == HC_ACTION && call.message == RegisterWindowMessageW(L"AlarmClock.ReadMenu")) {
        std::wstring items = L"[";
        const HMENU bar = GetMenu(call.hwnd);
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            wchar_t caption[256] = {};
            GetMenuStringW(bar, static_cast<UINT>(i), caption, 256, MF_BYPOSITION);
            items += (i ? L",[" : L"[") + std::to_wstring(GetMenuItemID(bar, i)) + L",\"" +
                     caption + L"\"]";
        }
        SetWindowTextW(reinterpret_cast<HWND>(call.wParam), (items + L"]").c_str());
    }
    return CallNextHookEx(nullptr, code, w, l);
}
