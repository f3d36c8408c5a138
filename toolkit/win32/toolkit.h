#pragma once

#include "toolkit/win32/accessibility.h"
#include "ui/toolkit.h"

#include <windows.h>

#include <functional>
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
    // Told of each notice raised to UI Automation, for a test to see what the system answered.
    using NoticeObserver = std::function<void(const RaisedNotice&)>;
    explicit Win32Toolkit(HINSTANCE instance, NoticeObserver observer = {});

    std::unique_ptr<ui::ClockWindow> createClockWindow(const forms::FormDefinition& form,
                                                       ui::WindowEvents& events) override;
    std::unique_ptr<ui::DialogWindow> createDialog(const forms::FormDefinition& form,
                                                   ui::WindowEvents& events) override;

    // Takes the keyboard messages that move through a dialog's controls (Tab, Shift+Tab)
    // and those that a dialog ignores (Enter, Escape). True: the message is handled.
    bool dialogMessage(MSG& message) const;
    // Ends the message loop.
    void quit() override;
    // Delivers the messages that other threads and processes have sent to the windows (a
    // screen reader's WM_GETOBJECT and WM_GETTEXT), and nothing that is posted: no input, no
    // timer, no paint.
    void answer() override;

    // The window that stands for an owner: the clock window, or none.
    HWND window(ui::Owner owner) const;
    void noticeRaised(const RaisedNotice& notice) const {
        if (observer_)
            observer_(notice);
    }

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
    NoticeObserver observer_;
};

} // namespace toolkit::win32
