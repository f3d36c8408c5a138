#pragma once

// The services of the window toolkit that the windows and their handlers rely on. Each
// front-end implements them with its platform's own toolkit; everything above them (the
// start-up, the windows' lifecycle, the handlers and the menu commands) is written once.
// The wall clock and the beep are the platform's, not the toolkit's: they come beside it.

#include "engine/fault_log.h"
#include "engine/ports.h"
#include "face/surface.h"
#include "face/title.h"
#include "forms/form_def.h"

#include <memory>
#include <string>
#include <string_view>

namespace ui {

// What a window reports, on the user-interface thread, one event at a time. The handler
// may destroy the window whose event it handles: the toolkit touches that window no
// more once the call has returned.
class WindowEvents {
public:
    // A command button or a menu item, by the name its definition gives it.
    virtual void click(std::string_view control) = 0;
    // The user closes the window through its frame. The window stays until the handler
    // destroys it.
    virtual void closeBox() = 0;
    // The window's timer, where its definition has one. Timer events that fall due while
    // a handler runs are merged into one.
    virtual void timer() = 0;

protected:
    ~WindowEvents() = default;
};

// Who owns a window that is shown: no one (the start-up dialog), or the clock window, in front
// of which an owned window stays, and with which it is minimised.
enum class Owner { None, MainForm };

// A top-level window built from its definition, hidden until shown. Destroying the
// object destroys the window with its controls and their contents.
class Window {
public:
    virtual ~Window() = default;
};

// A dialog: labels, input fields and a command button, reached by their names.
class DialogWindow : public Window {
public:
    // Modeless. A hidden window becomes visible; any is brought to the front and made
    // active. `centre`: placed in the middle of the screen first.
    virtual void show(Owner owner, bool centre) = 0;
    virtual std::string text(std::string_view textBox) = 0; // UTF-8
    // A notice label shows only while it has a caption, and screen readers announce it
    // as it appears.
    virtual void setCaption(std::string_view label, std::string_view caption) = 0;
};

// The clock window: a menu bar, a timer, and a client area that the clock face paints. It is
// never owned.
class ClockWindow : public Window {
public:
    // As a dialog's show, unowned.
    virtual void show(bool centre) = 0;
    virtual face::Surface& clientArea() = 0;
    virtual void setBackColor(forms::Rgb colour) = 0;
    // Asks for the user's attention as the desktop has it done (a flashing taskbar entry).
    virtual void requestAttention() = 0;
};

// The windows are made by the toolkit, which knows the clock window that owns the dialogs.
// While the chime holds the thread, the toolkit answers the assistive technologies
// (engine::AssistiveRequests), and nothing else: an event that its answers call for (a
// command given through a screen reader) reaches the handlers, which run it after the tick.
class Toolkit : public face::RegionalSettings, public engine::AssistiveRequests {
public:
    virtual ~Toolkit() = default;

    virtual std::unique_ptr<ClockWindow> createClockWindow(const forms::FormDefinition& form,
                                                           WindowEvents& events) = 0;
    virtual std::unique_ptr<DialogWindow> createDialog(const forms::FormDefinition& form,
                                                       WindowEvents& events) = 0;

    // Ends the event loop. Events that it still delivers run no handler: the windows
    // ignore them once the program has ended.
    virtual void quit() = 0;

    // Where a program without a console reports its faults, a line at a time: standard
    // error, and the desktop's log.
    virtual void log(engine::FaultLog::Severity severity, const std::string& line) = 0;
};

} // namespace ui
