#pragma once

// How the windows of the Windows program are found from outside it, by a screen reader's
// or a test driver's own process: the window classes of the clock window and of the
// dialogs, and the identifiers of the controls and menu commands built from the window
// definitions. Both are stable: a window's class and a control's identifier never change
// with the order in which windows are created. A dialog is found by its class and its
// caption (the definition's); from another process a field's text is read with WM_GETTEXT,
// since GetWindowText does not ask a control of another process for it.

#include <cstddef>

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

} // namespace toolkit::win32
