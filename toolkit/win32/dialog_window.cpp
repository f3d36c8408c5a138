#include "toolkit/win32/dialog_window.h"

#include "toolkit/win32/control_ids.h"
#include "toolkit/win32/fonts.h"
#include "toolkit/win32/text.h"
#include "toolkit/win32/win32_toolkit.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <stdexcept>

namespace toolkit::win32 {
namespace {

struct Made {
    const wchar_t* windowClass;
    DWORD style;
    DWORD exStyle;
};

// Each control that takes the focus is a group of its own, so that the arrow keys leave
// the focus where it is, as in the dialogs that Windows builds from templates.
Made kindOf(forms::Kind kind) {
    constexpr DWORD child = WS_CHILD | WS_VISIBLE;
    switch (kind) {
    case forms::Kind::Label: return {L"STATIC", child | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
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

bool takesFocus(forms::Kind kind) {
    return kind == forms::Kind::TextBox || kind == forms::Kind::CommandButton;
}

} // namespace

DialogWindow::DialogWindow(Win32Toolkit& toolkit, const forms::Form& form, ui::WindowEvents& events)
    : TopLevel(toolkit, events, form, dialogWindowClass, MenuHandle()) {
    std::vector<std::size_t> byTab(form.controls.size());
    for (std::size_t i = 0; i < byTab.size(); ++i)
        byTab[i] = i;
    std::ranges::stable_sort(byTab, {},
                             [&form](std::size_t i) { return form.controls[i].tabIndex; });

    Annotations& annotations = toolkit.annotations();
    annotations.setRole(hwnd(), ROLE_SYSTEM_DIALOG);
    for (const std::size_t i : byTab) {
        const forms::Control& def = form.controls[i];
        const Made made = kindOf(def.kind);
        // A field is named by the label right before it in the z-order where the system
        // has no annotations (Wine): a hidden one with the field's name, as the visible
        // label before it may name another field ("時" before the minutes).
        if (def.kind == forms::Kind::TextBox)
            CreateWindowExW(0, L"STATIC", widen(def.accessibleName).c_str(), WS_CHILD | SS_NOPREFIX,
                            0, 0, 0, 0, hwnd(), nullptr, toolkit.instance(), nullptr);
        // Each child goes to the bottom of the z-order as it is made: the order of the tab
        // numbers is the order of Tab, and of screen readers reading the dialog.
        HWND window = CreateWindowExW(made.exStyle, made.windowClass, widen(def.caption).c_str(),
                                      made.style, 0, 0, 0, 0, hwnd(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(i))),
                                      toolkit.instance(), nullptr);
        if (!window)
            throw std::runtime_error("a control of " + std::string(form.name) + " was not made");
        controls_.push_back({&def, window});
        if (def.kind == forms::Kind::TextBox) {
            SendMessageW(window, EM_SETLIMITTEXT, 0, 0); // as much as the control holds
            annotations.setName(window, widen(def.accessibleName));
        }
        if (def.kind == forms::Kind::CommandButton)
            SetWindowSubclass(window, neverDefault, 0, 0);
        if (def.kind == forms::Kind::Notice)
            annotations.setRole(window, ROLE_SYSTEM_ALERT);
        if (!focus_ && takesFocus(def.kind))
            focus_ = window;
    }
    relayout(dpi());
    listen();
}

DialogWindow::~DialogWindow() {
    Annotations& annotations = toolkit_.annotations();
    for (const Control& control : controls_)
        annotations.clear(control.window);
    annotations.clear(hwnd());
    destroy();
}

// The dialogs' controls share one font, or take the desktop's.
void DialogWindow::relayout(UINT dpi) {
    const forms::Font* font = nullptr;
    for (const Control& control : controls_)
        if (control.def->font)
            font = &*control.def->font;
    FontHandle dialogFont = font ? definitionFont(*font, dpi) : FontHandle();
    FontHandle plainFont = messageFont(dpi);
    for (const Control& control : controls_) {
        const HFONT used = control.def->font ? dialogFont.get() : plainFont.get();
        SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(used), FALSE);
        const RECT place = pixelRect(control.def->twips, dpi);
        SetWindowPos(control.window, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    dialogFont_ = std::move(dialogFont);
    plainFont_ = std::move(plainFont);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT DialogWindow::handle(UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_COMMAND: {
        // IDOK and IDCANCEL (Enter and Escape, from the dialog keys) press nothing.
        const int id = LOWORD(w);
        for (const Control& control : controls_)
            if (control.def->kind == forms::Kind::CommandButton && HIWORD(w) == BN_CLICKED &&
                id == GetDlgCtrlID(control.window)) {
                events_.click(control.def->name);
                return 0;
            }
        return 0;
    }
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

const DialogWindow::Control& DialogWindow::find(std::string_view name) const {
    for (const Control& control : controls_)
        if (control.def->name == name)
            return control;
    throw std::out_of_range("no control named " + std::string(name));
}

HWND DialogWindow::control(std::string_view name) const { return find(name).window; }

std::string DialogWindow::text(std::string_view textBox) {
    const Control& field = find(textBox);
    if (field.def->kind != forms::Kind::TextBox)
        throw std::invalid_argument(std::string(textBox) + " is no text box");
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field.window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(field.window, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

void DialogWindow::setCaption(std::string_view label, std::string_view caption) {
    const Control& target = find(label);
    if (target.def->kind != forms::Kind::Label && target.def->kind != forms::Kind::Notice)
        throw std::invalid_argument(std::string(label) + " is no label");
    SetWindowTextW(target.window, widen(caption).c_str());
    if (target.def->kind != forms::Kind::Notice)
        return;
    // A notice shows only with a caption; appearing, it is announced.
    const bool shown = (GetWindowLongPtrW(target.window, GWL_STYLE) & WS_VISIBLE) != 0;
    ShowWindow(target.window, caption.empty() ? SW_HIDE : SW_SHOW);
    if (!shown && !caption.empty()) {
        // Painted now: the chime that follows holds the thread and every repaint with it.
        UpdateWindow(target.window);
        announceAlert(target.window);
    }
}

} // namespace toolkit::win32
