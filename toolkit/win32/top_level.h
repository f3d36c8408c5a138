#pragma once

#include "forms/form_def.h"
#include "toolkit/win32/handles.h"
#include "ui/toolkit.h"

namespace toolkit::win32 {

class Win32Toolkit;

// Twips to pixels at a DPI: 1440 twips an inch.
inline int pixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }
RECT pixelRect(const forms::Rect& twips, UINT dpi);

// A top-level window built from a definition: the standard resizable frame with the
// definition's caption, the clock icon, and a client area of the definition's size at the
// window's DPI, kept so when the window moves to a monitor of another DPI. The close box
// only reports to the handlers, which decide what becomes of the window.
class TopLevel {
public:
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM w, LPARAM l) noexcept;

    HWND hwnd() const { return window_.get(); }
    UINT dpi() const { return GetDpiForWindow(window_.get()); }

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
    virtual void relayout(UINT dpi) = 0;

    Win32Toolkit& toolkit_;
    ui::WindowEvents& events_;
    const forms::Form& form_;

private:
    void fitClientArea();
    void centre(HWND owner);
    void loadIcons(UINT dpi);

    IconHandle bigIcon_;
    IconHandle smallIcon_;
    WindowHandle window_;
};

} // namespace toolkit::win32
