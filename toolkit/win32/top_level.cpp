#include "toolkit/win32/top_level.h"

#include "toolkit/win32/control_ids.h"
#include "toolkit/win32/fonts.h"
#include "toolkit/win32/resource_ids.h"
#include "toolkit/win32/text.h"
#include "toolkit/win32/toolkit.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>

namespace toolkit::win32 {
namespace {

constexpr DWORD frameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

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

bool isLabel(forms::Kind kind) {
    return kind == forms::Kind::Label || kind == forms::Kind::Notice ||
           kind == forms::Kind::Readout;
}

} // namespace

TopLevel::TopLevel(Win32Toolkit& toolkit, ui::WindowEvents& events, const forms::Form& form,
                   const wchar_t* windowClass, MenuHandle menu)
    : toolkit_(toolkit)
    , events_(events)
    , form_(form)
    , window_(CreateWindowExW(0, windowClass, widen(form.caption).c_str(), frameStyle,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                              menu.get(), toolkit.instance(), nullptr)) {
    if (!window_)
        throwLastError("CreateWindowExW");
    menu.release(); // the window's from now on
    loadIcons(dpi());
    fitClientArea();
    makeControls();
    if (!form.clientName.empty())
        toolkit.annotations().setName(hwnd(), widen(form.clientName));
}

TopLevel::~TopLevel() { destroy(); }

void TopLevel::destroy() noexcept {
    if (!window_)
        return;
    Annotations& annotations = toolkit_.annotations();
    for (const Control& control : controls_)
        annotations.clear(control.window);
    annotations.clear(window_.get());
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
    window_.reset();
}

void TopLevel::listen() {
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void TopLevel::makeControls() {
    std::vector<std::size_t> byTab(form_.controls.size());
    for (std::size_t i = 0; i < byTab.size(); ++i)
        byTab[i] = i;
    std::ranges::stable_sort(byTab, {},
                             [this](std::size_t i) { return form_.controls[i].tabIndex; });
    Annotations& annotations = toolkit_.annotations();
    for (const std::size_t i : byTab) {
        const forms::Control& def = form_.controls[i];
        const Made made = kindOf(def.kind);
        // A field is named by the label right before it in the z-order where the system
        // has no annotations (Wine): a hidden one with the field's name, as the visible
        // label before it may name another field ("時" before the minutes).
        if (def.kind == forms::Kind::TextBox)
            CreateWindowExW(0, L"STATIC", widen(def.accessibleName).c_str(), WS_CHILD | SS_NOPREFIX,
                            0, 0, 0, 0, hwnd(), nullptr, toolkit_.instance(), nullptr);
        // Each child goes to the bottom of the z-order as it is made: the order of the tab
        // numbers is the order of Tab, and of screen readers reading the window.
        HWND window = CreateWindowExW(made.exStyle, made.windowClass, widen(def.caption).c_str(),
                                      made.style, 0, 0, 0, 0, hwnd(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId(i))),
                                      toolkit_.instance(), nullptr);
        if (!window)
            throwLastError("CreateWindowExW, a control of " + std::string(form_.name));
        controls_.push_back({&def, window, std::string(def.caption)});
        if (def.kind == forms::Kind::TextBox) {
            SendMessageW(window, EM_SETLIMITTEXT, 0, 0); // as much as the control holds
            annotations.setName(window, widen(def.accessibleName));
        }
        if (def.kind == forms::Kind::CommandButton)
            SetWindowSubclass(window, neverDefault, 0, 0);
        if (def.kind == forms::Kind::Notice)
            annotations.setRole(window, ROLE_SYSTEM_ALERT);
    }
}

// Controls with the same font share one; a control without takes the desktop's.
void TopLevel::relayout(UINT dpi) {
    std::vector<std::pair<forms::Font, FontHandle>> fonts;
    FontHandle plain = messageFont(dpi);
    for (const Control& control : controls_) {
        HFONT font = plain.get();
        if (const std::optional<forms::Font>& def = control.def->font) {
            auto same = std::ranges::find(fonts, *def, &std::pair<forms::Font, FontHandle>::first);
            if (same == fonts.end())
                same = fonts.emplace(fonts.end(), *def, definitionFont(*def, dpi));
            font = same->second.get();
        }
        SendMessageW(control.window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        const RECT place = pixelRect(control.def->twips, dpi);
        SetWindowPos(control.window, nullptr, place.left, place.top, place.right - place.left,
                     place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    fonts_ = std::move(fonts);
    plainFont_ = std::move(plain);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

const TopLevel::Control& TopLevel::find(std::string_view name) const {
    for (const Control& control : controls_)
        if (control.def->name == name)
            return control;
    throw std::out_of_range("no control named " + std::string(name));
}

TopLevel::Control& TopLevel::find(std::string_view name) {
    return const_cast<Control&>(std::as_const(*this).find(name));
}

std::string TopLevel::text(const Control& field) const {
    if (field.def->kind != forms::Kind::TextBox)
        throw std::invalid_argument(std::string(field.def->name) + " is no text box");
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field.window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(field.window, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

void TopLevel::setCaption(Control& label, std::string_view caption) {
    if (!isLabel(label.def->kind))
        throw std::invalid_argument(std::string(label.def->name) + " is no label");
    if (caption == label.caption)
        return;
    SetWindowTextW(label.window, widen(caption).c_str());
    label.caption = caption;
    if (label.def->kind != forms::Kind::Notice)
        return;
    // A notice shows only with a caption; appearing, it is announced.
    const bool shown = (GetWindowLongPtrW(label.window, GWL_STYLE) & WS_VISIBLE) != 0;
    ShowWindow(label.window, caption.empty() ? SW_HIDE : SW_SHOW);
    if (!shown && !caption.empty()) {
        // Painted now: the chime that follows holds the thread and every repaint with it.
        UpdateWindow(label.window);
        announceAlert(label.window);
    }
}

LRESULT CALLBACK TopLevel::procedure(HWND window, UINT message, WPARAM w, LPARAM l) noexcept {
    auto* self = reinterpret_cast<TopLevel*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcW(window, message, w, l);
    // Destroyed with its owner, or by the system: the handle is no longer the object's.
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        (void)self->window_.release();
        return DefWindowProcW(window, message, w, l);
    }
    Win32Toolkit& toolkit = self->toolkit_; // the handler may destroy the object
    try {
        return self->handle(message, w, l);
    } catch (const std::exception& fault) {
        toolkit.logFault(fault.what());
    } catch (...) {
        toolkit.logFault("an unknown fault");
    }
    return message == WM_CLOSE ? 0 : DefWindowProcW(window, message, w, l);
}

LRESULT TopLevel::defaultHandling(UINT message, WPARAM w, LPARAM l) {
    HWND window = window_.get();
    switch (message) {
    case WM_CLOSE:
        // The handler may destroy this object: nothing of it is touched after the call.
        events_.closeBox();
        return 0;
    case WM_GETDPISCALEDSIZE: {
        // The frame for a client area of the same size in twips at the new DPI: Windows would
        // scale the whole frame, whose title bar and menu bar do not grow in proportion.
        const int to = static_cast<int>(w);
        const int from = static_cast<int>(dpi());
        RECT frame{};
        GetClientRect(window, &frame);
        frame.right = MulDiv(frame.right, to, from);
        frame.bottom = MulDiv(frame.bottom, to, from);
        AdjustWindowRectExForDpi(&frame, frameStyle, GetMenu(window) != nullptr, 0, to);
        *reinterpret_cast<SIZE*>(l) = {frame.right - frame.left, frame.bottom - frame.top};
        return TRUE;
    }
    case WM_DPICHANGED: {
        const RECT& suggested = *reinterpret_cast<const RECT*>(l);
        loadIcons(HIWORD(w));
        relayout(HIWORD(w));
        SetWindowPos(window, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_CTLCOLORSTATIC: {
        // Labels in the colours of a button's face, as the definitions' labels have.
        const auto dc = reinterpret_cast<HDC>(w);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    default: return DefWindowProcW(window, message, w, l);
    }
}

void TopLevel::loadIcons(UINT dpi) {
    const auto load = [this, dpi](int widthMetric, int heightMetric) {
        return IconHandle(static_cast<HICON>(
            LoadImageW(toolkit_.instance(), MAKEINTRESOURCEW(IDI_CLOCK), IMAGE_ICON,
                       GetSystemMetricsForDpi(widthMetric, dpi),
                       GetSystemMetricsForDpi(heightMetric, dpi), LR_DEFAULTCOLOR)));
    };
    IconHandle big = load(SM_CXICON, SM_CYICON);
    IconHandle small = load(SM_CXSMICON, SM_CYSMICON);
    SendMessageW(window_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

void TopLevel::fitClientArea() {
    const UINT dpi = this->dpi();
    const int width = forms::pixels(form_.clientWidth, static_cast<int>(dpi));
    const int height = forms::pixels(form_.clientHeight, static_cast<int>(dpi));
    HWND window = window_.get();
    const bool hasMenu = GetMenu(window) != nullptr;
    RECT frame{0, 0, width, height};
    AdjustWindowRectExForDpi(&frame, frameStyle, hasMenu, 0, dpi);
    int frameHeight = frame.bottom - frame.top;
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frameHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame was reckoned with a menu bar of one row; a bar that wraps takes more.
    for (int attempt = 0; attempt < 3; ++attempt) {
        RECT client;
        GetClientRect(window, &client);
        if (client.bottom == height)
            break;
        frameHeight += height - client.bottom;
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frameHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void TopLevel::centre(HWND owner) {
    HWND window = window_.get();
    // Moving to a monitor of another DPI resizes the window: centred again at its new size.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const UINT before = dpi();
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(owner ? owner : window, MONITOR_DEFAULTTOPRIMARY),
                        &monitor);
        const RECT& area = monitor.rcWork;
        RECT frame;
        GetWindowRect(window, &frame);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        // A frame larger than the work area keeps its title bar and close box on screen.
        const int left = std::max(area.left, area.left + (area.right - area.left - width) / 2);
        const int top = std::max(area.top, area.top + (area.bottom - area.top - height) / 2);
        SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (dpi() == before)
            break;
    }
}

void TopLevel::showOwned(ui::Window* owner, bool centre) {
    HWND window = window_.get();
    HWND ownerWindow = nullptr;
    if (owner) {
        auto* ownerTopLevel = dynamic_cast<TopLevel*>(owner);
        if (!ownerTopLevel)
            throw std::invalid_argument("an owner from another toolkit");
        ownerWindow = ownerTopLevel->hwnd();
    }
    // An owned window stays in front of its owner and is minimised and restored with it. The
    // taskbar gives a window a button of its own, or none, as the window is shown: one shown
    // unowned (the start-up dialog) that takes an owner is hidden first, or its button stays.
    if (GetWindow(window, GW_OWNER) != ownerWindow) {
        if (IsWindowVisible(window))
            ShowWindow(window, SW_HIDE);
        SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
    }
    if (centre)
        this->centre(ownerWindow);
    ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
    SetForegroundWindow(window);
    SetActiveWindow(window);
}

} // namespace toolkit::win32
