#pragma once

#include "toolkit/win32/accessibility.h"
#include "ui/toolkit.h"

#include <windows.h>

#include <string>

namespace toolkit::win32 {

// A window class of this program, registered for as long as the object lives.
class WindowClass {
public:
    WindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure);
    ~WindowClass();
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;
    ATOM atom() const { return atom_; }

private:
    HINSTANCE instance_;
    ATOM atom_;
};

// The toolkit's services on user32 and gdi32, for one run of the program on the thread
// that makes it, which runs the message loop.
class Win32Toolkit final : public ui::Toolkit {
public:
    explicit Win32Toolkit(HINSTANCE instance);

    std::unique_ptr<ui::ClockWindow> createClockWindow(const forms::Form& form,
                                                       ui::WindowEvents& events) override;
    std::unique_ptr<ui::DialogWindow> createDialog(const forms::Form& form,
                                                   ui::WindowEvents& events) override;

    // Takes the keyboard messages that move through a dialog's controls (Tab, Shift+Tab)
    // and those that a dialog ignores (Enter, Escape). True: the message is handled.
    bool dialogMessage(MSG& message) const;
    // Ends the message loop.
    void quit() override;

    void log(engine::FaultLog::Severity severity, const std::string& line) override;
    // A fault that a window procedure caught, which nothing may throw out of.
    void logFault(const char* what) noexcept;

    // The date and time as the user's regional settings write them.
    std::string shortDate(const engine::LocalDateTime& when) override;
    std::string longTime(const engine::LocalDateTime& when) override;

    HINSTANCE instance() const { return instance_; }
    Annotations& annotations() { return annotations_; }

private:
    HINSTANCE instance_;
    WindowClass clockClass_;
    WindowClass dialogClass_;
    Annotations annotations_;
};

} // namespace toolkit::win32
