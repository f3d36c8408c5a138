#include "toolkit/win32/dialog_window.h"

#include "forms/tab_order.h"
#include "toolkit/win32/control_ids.h"
#include "toolkit/win32/toolkit.h"

#include <oleacc.h>

namespace toolkit::win32 {

DialogWindow::DialogWindow(Win32Toolkit& toolkit, const forms::FormDefinition& form,
                           ui::WindowEvents& events)
    : toolkit_(toolkit)
    , window_(toolkit, events, form, dialogWindowClass, MenuHandle()) {
    toolkit.annotations().setRole(window_.hwnd(), ROLE_SYSTEM_DIALOG);
    if (const forms::Control* first = forms::firstFocus(form))
        focus_ = window_.control(first->name);
    window_.listen(*this);
    window_.relayout(window_.dpi());
}

void DialogWindow::show(ui::Owner owner, bool centre) {
    window_.show(toolkit_.window(owner), centre);
}

std::optional<LRESULT> DialogWindow::handle(UINT message, WPARAM w, LPARAM) {
    switch (message) {
    case WM_COMMAND:
        // IDOK and IDCANCEL (Enter and Escape, from the dialog keys) press nothing.
        if (HIWORD(w) == BN_CLICKED)
            for (const Control& control : window_.controls())
                if (control.def->kind == forms::Kind::CommandButton &&
                    LOWORD(w) == GetDlgCtrlID(control.window)) {
                    window_.events().click(control.def->name);
                    break;
                }
        return 0;
    case WM_ACTIVATE:
        // Leaving the dialog, the focus is remembered; coming back (the frame takes the
        // focus, below), it is where it was.
        if (LOWORD(w) == WA_INACTIVE)
            if (HWND focus = GetFocus(); focus && IsChild(window_.hwnd(), focus))
                focus_ = focus;
        break;
    case WM_SETFOCUS:
        if (focus_)
            SetFocus(focus_);
        return 0;
    default: break;
    }
    return std::nullopt;
}

} // namespace toolkit::win32
