#pragma once

#include "forms/form_def.h"
#include "toolkit/win32/controls.h"
#include "toolkit/win32/handles.h"
#include "ui/toolkit.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace toolkit::win32 {

class Win32Toolkit;

inline RECT pixelRect(const forms::Rect& twips, UINT dpi) {
    const forms::Rect p = forms::pixels(twips, static_cast<int>(dpi));
    return {p.left, p.top, p.left + p.width, p.top + p.height};
}

// What a kind of window does with the messages that reach its native window.
class WindowMessages {
public:
    // A message of this kind of window's own; nullopt leaves it to the handling that every
    // window has.
    virtual std::optional<LRESULT> handle(UINT message, WPARAM w, LPARAM l) = 0;
    // After the fonts and the controls are laid out anew at another DPI.
    virtual void rescaled(UINT /*dpi*/) {}

protected:
    ~WindowMessages() = default;
};

// The native window of a top-level window built from a definition: the standard resizable
// frame with the definition's caption, the clock icon, the definition's controls at their
// places in twips, and a client area of the definition's size at the window's DPI, kept so
// when the window moves to a monitor of another DPI. The close box only reports to the
// handlers, which decide what becomes of the window. Its owner holds it as the member declared
// last, so that the window goes before whatever it paints with.
class NativeWindow {
public:
    NativeWindow(Win32Toolkit& toolkit, ui::WindowEvents& events, const forms::FormDefinition& form,
                 const wchar_t* windowClass, MenuHandle menu);
    // Destroys the window with its controls, and reports nothing more from it.
    ~NativeWindow();
    NativeWindow(const NativeWindow&) = delete;
    NativeWindow& operator=(const NativeWindow&) = delete;

    // The window reports to `messages` from here on: once its owner is whole.
    void listen(WindowMessages& messages);

    HWND hwnd() const { return window_.get(); }
    UINT dpi() const { return GetDpiForWindow(window_.get()); }
    const forms::FormDefinition& form() const { return form_; }
    ui::WindowEvents& events() const { return events_; }

    // The control that the definition names.
    const Control& find(std::string_view name) const;
    Control& find(std::string_view name);
    HWND control(std::string_view name) const { return find(name).window; }
    const std::vector<Control>& controls() const { return controls_; }
    std::string text(const Control& control) const;
    // Sets a label's caption where it differs; a notice shows only with one.
    void setCaption(Control& control, std::string_view caption);

    // Visible, restored, in front and active; owned by `owner` or by none.
    void show(HWND owner, bool centre);
    // Fonts and controls at a DPI, then the owner's own layout.
    void relayout(UINT dpi);

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) noexcept;

private:
    LRESULT handleByDefault(UINT message, WPARAM w, LPARAM l);
    void fitClientArea();
    void loadIcons(UINT dpi);

    Win32Toolkit& toolkit_;
    ui::WindowEvents& events_;
    const forms::FormDefinition& form_;
    WindowMessages* messages_ = nullptr;
    IconHandle bigIcon_;
    IconHandle smallIcon_;
    // The controls' fonts at the DPI: the definitions' and, for a control without, the desktop's.
    std::vector<std::pair<forms::Font, FontHandle>> fonts_;
    FontHandle plainFont_;
    WindowHandle window_;           // after the icons and the fonts: goes before them
    std::vector<Control> controls_; // in the order of their tab numbers
};

} // namespace toolkit::win32
