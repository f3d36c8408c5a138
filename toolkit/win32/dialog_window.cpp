#include "toolkit/win32/dialog_window.h"

#include "forms/tab_order.h"
#include "toolkit/win32/control_ids.h"
#include "toolkit/win32/toolkit.h"

#include <oleacc.h>

namespace toolkit::win32 {

DialogWindow::DialogWindow(Win32Toolkit& toolkit, const forms::Form& form, ui::WindowEvents& events)
    : TopLevel(toolkit, events, form, dialogWindowClass, MenuHandle()) {
    toolkit.annotations().setRole(hwnd(), ROLE_SYSTEM_DIALOG);
    if (const forms::Control* first = forms::firstFocus(form))
        focus_ = control(first->name);
    relayout(dpi());
    listen();
}

DialogWindow::~DialogWindow() { destroy(); }

LRESULT DialogWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_COMMAND:
        // IDOK and IDCANCEL (Enter and Escape, from the dialog keys) press nothing.
        if (HIWORD(w) == BN_CLICKED)
            for (const Control& control : controls())
                if (control.def->kind == forms::Kind::CommandButton &&
                    LOWORD(w) == GetDlgCtrlID(control.window)) {
                    events_.click(control.def->name);
                    break;
                }
        return 0;
    case WM_ACTIVATE:
        // Leaving the dialog, the focus is remembered; coming back (the frame takes the
        // focus, below), it is where it was.
        if (LOWORD(w) == WA_INACTIVE)
            if (HWND focus = GetFocus(); focus && IsChild(hwnd(), focus))
                focus_ = focus;
        break;
    case WM_SETFOCUS:
        if (focus_)
            SetFocus(focus_);
        return 0;
    default: break;
    }
    return defaultHandling(message, w, l);
}

} // namespace toolkit::win32
