#pragma once

#include "forms/form_def.h"
#include "toolkit/win32/controls.h"
#include "toolkit/win32/handles.h"
#include "ui/toolkit.h"

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

// A top-level window built from a definition: the standard resizable frame with the
// definition's caption, the clock icon, the definition's controls at their places in twips,
// and a client area of the definition's size at the window's DPI, kept so when the window
// moves to a monitor of another DPI. The close box only reports to the handlers, which
// decide what becomes of the window.
class TopLevel {
public:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) noexcept;

    HWND hwnd() const { return window_.get(); }
    UINT dpi() const { return GetDpiForWindow(window_.get()); }
    // The control that the definition names.
    HWND control(std::string_view name) const { return find(name).window; }

protected:
    TopLevel(Win32Toolkit& toolkit, ui::WindowEvents& events, const forms::Form& form,
             const wchar_t* windowClass, MenuHandle menu);
    // Destroys the window with its controls, and reports nothing more from it.
    virtual ~TopLevel();
    TopLevel(const TopLevel&) = delete;
    TopLevel& operator=(const TopLevel&) = delete;

    // The window reports to hwnd() from here on: once the object is whole.
    void listen();
    // Destroys the window before the fonts that its controls use go with the object.
    void destroy() noexcept;
    // Visible, restored, in front and active; owned by `owner` or by none.
    void showOwned(ui::Window* owner, bool centre);

    // What a window of its own kind does with a message; the rest to defaultHandling().
    virtual LRESULT handle(UINT message, WPARAM w, LPARAM l) {
        return defaultHandling(message, w, l);
    }
    LRESULT defaultHandling(UINT message, WPARAM w, LPARAM l);
    // Fonts and controls at a new DPI.
    virtual void relayout(UINT dpi);

    const Control& find(std::string_view name) const;
    Control& find(std::string_view name);
    std::string text(const Control& control) const;
    // Sets a label's caption where it differs; a notice shows only with one.
    void setCaption(Control& control, std::string_view caption);
    const std::vector<Control>& controls() const { return controls_; }

    Win32Toolkit& toolkit_;
    ui::WindowEvents& events_;
    const forms::Form& form_;

private:
    void fitClientArea();
    void loadIcons(UINT dpi);

    IconHandle bigIcon_;
    IconHandle smallIcon_;
    WindowHandle window_;
    std::vector<Control> controls_; // in the order of their tab numbers
    // The controls' fonts at the DPI: the definitions' and, for a control without, the desktop's.
    std::vector<std::pair<forms::Font, FontHandle>> fonts_;
    FontHandle plainFont_;
};

} // namespace toolkit::win32
