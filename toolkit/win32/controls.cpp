#include "toolkit/win32/controls.h"

#include "forms/tab_order.h"
#include "toolkit/win32/accessibility.h"
#include "toolkit/win32/control_ids.h"
#include "toolkit/win32/errors.h"
#include "toolkit/win32/text.h"

#include <commctrl.h>
#include <oleacc.h>

#include <stdexcept>

namespace toolkit::win32 {
namespace {

// The window class and styles of Windows' own control for a kind of control.
struct NativeControl {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

// Each control that takes the focus is a group of its own, so that the arrow keys leave
// the focus where it is, as in the dialogs that Windows builds from templates.
NativeControl nativeControl(forms::Kind kind) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    switch (kind) {
    case forms::Kind::Label:
    case forms::Kind::Readout: return {L"STATIC", child | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case forms::Kind::Notice: return {L"STATIC", WS_CHILD | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
    case forms::Kind::TextBox:
        return {L"EDIT", child | WS_TABSTOP | WS_GROUP | ES_LEFT | ES_AUTOHSCROLL,
                WS_EX_CLIENTEDGE};
    case forms::Kind::CommandButton:
        return {L"BUTTON", child | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON, 0};
    }
    throw std::invalid_argument("a control of no known kind");
}

// The dialog keys make a push button that has the focus the default one, which Enter then
// presses. This button stays a plain push button, in its look and for the dialog keys.
LRESULT CALLBACK neverDefault(HWND button, UINT message, WPARAM w, LPARAM l, UINT_PTR,
                              DWORD_PTR) noexcept {
    switch (message) {
    case BM_SETSTYLE: w = (w & ~WPARAM{BS_TYPEMASK}) | BS_PUSHBUTTON; break;
    case WM_GETDLGCODE: {
        const LRESULT code = DefSubclassProc(button, message, w, l);
        return (code & ~LRESULT{DLGC_DEFPUSHBUTTON}) | DLGC_UNDEFPUSHBUTTON;
    }
    case WM_NCDESTROY: RemoveWindowSubclass(button, neverDefault, 0); break;
    default: break;
    }
    return DefSubclassProc(button, message, w, l);
}

} // namespace

std::vector<Control> makeControls(const forms::FormDefinition& form, HWND parent,
                                  HINSTANCE instance, Annotations& annotations) {
    std::vector<Control> controls;
    for (const forms::Control* def : forms::inTabOrder(form)) {
        const NativeControl native = nativeControl(def->kind);
        if (def->kind == forms::Kind::TextBox)
            labelForScreenReaders(parent, instance, widen(def->accessibleName));
        // Each child goes to the bottom of the z-order as it is made.
        const auto id =
            static_cast<INT_PTR>(controlId(static_cast<std::size_t>(def - form.controls.data())));
        HWND window = CreateWindowExW(native.exStyle, native.windowClass,
                                      widen(def->caption).c_str(), native.style, 0, 0, 0, 0, parent,
                                      reinterpret_cast<HMENU>(id), instance, nullptr);
        if (!window)
            throwLastError("CreateWindowExW, a control of " + std::string(form.name));
        controls.push_back({def, window, std::string(def->caption)});
        if (def->kind == forms::Kind::TextBox) {
            SendMessageW(window, EM_SETLIMITTEXT, 0, 0); // as much as the control holds
            annotations.setName(window, widen(def->accessibleName));
        }
        if (def->kind == forms::Kind::CommandButton)
            SetWindowSubclass(window, neverDefault, 0, 0);
        if (def->kind == forms::Kind::Notice)
            annotations.setRole(window, ROLE_SYSTEM_ALERT);
    }
    return controls;
}

} // namespace toolkit::win32
