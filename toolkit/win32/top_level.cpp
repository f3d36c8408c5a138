#include "toolkit/win32/top_level.h"

#include "toolkit/win32/errors.h"
#include "toolkit/win32/fonts.h"
#include "toolkit/win32/placement.h"
#include "toolkit/win32/resource_ids.h"
#include "toolkit/win32/text.h"
#include "toolkit/win32/toolkit.h"

#include <algorithm>
#include <optional>
#include <stdexcept>
#include <utility>

namespace toolkit::win32 {
namespace {

constexpr DWORD frameStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

bool isLabel(forms::Kind kind) {
    return kind == forms::Kind::Label || kind == forms::Kind::Notice ||
           kind == forms::Kind::Readout;
}

} // namespace

NativeWindow::NativeWindow(Win32Toolkit& toolkit, ui::WindowEvents& events,
                           const forms::FormDefinition& form, const wchar_t* windowClass,
                           MenuHandle menu)
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
    controls_ = makeControls(form, hwnd(), toolkit.instance(), toolkit.annotations());
    if (!form.clientName.empty())
        toolkit.annotations().setName(hwnd(), widen(form.clientName));
}

NativeWindow::~NativeWindow() {
    if (!window_)
        return;
    Annotations& annotations = toolkit_.annotations();
    for (const Control& control : controls_)
        annotations.clear(control.window);
    annotations.clear(window_.get());
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

void NativeWindow::listen(WindowMessages& messages) {
    messages_ = &messages;
    SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

// Controls with the same font share one; a control without takes the desktop's.
void NativeWindow::relayout(UINT dpi) {
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
    if (messages_)
        messages_->rescaled(dpi);
}

const Control& NativeWindow::find(std::string_view name) const {
    for (const Control& control : controls_)
        if (control.def->name == name)
            return control;
    throw std::out_of_range("no control named " + std::string(name));
}

Control& NativeWindow::find(std::string_view name) {
    return const_cast<Control&>(std::as_const(*this).find(name));
}

std::string NativeWindow::text(const Control& field) const {
    if (field.def->kind != forms::Kind::TextBox)
        throw std::invalid_argument(std::string(field.def->name) + " is no text box");
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(field.window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(field.window, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

void NativeWindow::setCaption(Control& label, std::string_view caption) {
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
        toolkit_.noticeRaised(announceAlert(label.window));
    }
}

LRESULT CALLBACK NativeWindow::procedure(HWND window, UINT message, WPARAM w, LPARAM l) noexcept {
    auto* self = reinterpret_cast<NativeWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
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
        if (const std::optional<LRESULT> handled = self->messages_->handle(message, w, l))
            return *handled;
        return self->handleByDefault(message, w, l);
    } catch (const std::exception& fault) {
        toolkit.logFault(fault.what());
    } catch (...) {
        toolkit.logFault("an unknown fault");
    }
    return message == WM_CLOSE ? 0 : DefWindowProcW(window, message, w, l);
}

LRESULT NativeWindow::handleByDefault(UINT message, WPARAM w, LPARAM l) {
    HWND window = window_.get();
    switch (message) {
    case WM_CLOSE:
        // The handler may destroy this object: nothing of it is touched after the call.
        events_.closeBox();
        return 0;
    case WM_GETDPISCALEDSIZE:
        *reinterpret_cast<SIZE*>(l) = frameAtDpi(window, static_cast<UINT>(w));
        return TRUE;
    case WM_DPICHANGED: {
        const RECT& suggested = *reinterpret_cast<const RECT*>(l);
        loadIcons(HIWORD(w));
        relayout(HIWORD(w));
        SetWindowPos(window, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_SETTINGCHANGE:
        // The text size or the desktop's fonts changed: the fonts are made anew, and the frame
        // fits the client area again around a menu bar of another height, as at a new DPI.
        if (w == SPI_SETNONCLIENTMETRICS) {
            relayout(dpi());
            fitClientArea();
        }
        return DefWindowProcW(window, message, w, l);
    case WM_GETOBJECT: toolkit_.annotations().asked(); return DefWindowProcW(window, message, w, l);
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

void NativeWindow::loadIcons(UINT dpi) {
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

void NativeWindow::fitClientArea() {
    const auto dpi = static_cast<int>(this->dpi());
    win32::fitClientArea(window_.get(), {forms::pixels(form_.clientWidth, dpi),
                                         forms::pixels(form_.clientHeight, dpi)});
}

void NativeWindow::show(HWND ownerWindow, bool centre) {
    HWND window = window_.get();
    // An owned window stays in front of its owner and is minimised and restored with it. The
    // taskbar gives a window a button of its own, or none, as the window is shown: one shown
    // unowned (the start-up dialog) that takes an owner is hidden first, or its button stays.
    if (GetWindow(window, GW_OWNER) != ownerWindow) {
        if (IsWindowVisible(window))
            ShowWindow(window, SW_HIDE);
        SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ownerWindow));
    }
    if (centre)
        centreByFrame(window, ownerWindow);
    showInFront(window);
}

} // namespace toolkit::win32
