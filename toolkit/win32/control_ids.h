#pragma once

// How the windows of the Windows program are found from outside it, by a screen reader's
// or a test driver's own process: the window classes of the clock window and of the
// dialogs, and the identifiers of the controls and menu commands built from the window
// definitions. Both are stable: a window's class and a control's identifier never change
// with the order in which windows are created. A dialog is found by its class and its
// caption (the definition's); from another process a field's text is read with WM_GETTEXT,
// since GetWindowText does not ask a control of another process for it.

#include "forms/form_def.h"

#include <cstddef>
#include <string_view>

namespace toolkit::win32 {

// Window classes, as registered (UTF-16 names for FindWindowW and GetClassNameW).
inline constexpr wchar_t clockWindowClass[] = L"AlarmClock.Clock";
inline constexpr wchar_t dialogWindowClass[] = L"AlarmClock.Dialog";

// The control ID (GetDlgCtrlID, GetDlgItem) of form.controls[index].
inline constexpr int firstControlId = 1000;
constexpr int controlId(std::size_t index) { return firstControlId + static_cast<int>(index); }

// The WM_COMMAND identifier of form.menu[index] on the clock window's menu bar.
inline constexpr int firstMenuId = 2000;
constexpr int menuId(std::size_t index) { return firstMenuId + static_cast<int>(index); }

// The control ID of the control that the definition names, or 0 where it has none.
constexpr int controlId(const forms::Form& form, std::string_view name) {
    for (std::size_t i = 0; i < form.controls.size(); ++i)
        if (form.controls[i].name == name)
            return controlId(i);
    return 0;
}

// The menu command ID of the item that the definition names, or 0 where it has none.
constexpr int menuId(const forms::Form& form, std::string_view name) {
    for (std::size_t i = 0; i < form.menu.size(); ++i)
        if (form.menu[i].name == name)
            return menuId(i);
    return 0;
}

} // namespace toolkit::win32
