#pragma once

#include "engine/alarm_state.h"
#include "ui/dialogs.h"
#include "ui/handlers.h"
#include "ui/windows.h"

namespace ui {

// One run of the program on a toolkit, with the platform's wall clock and beep: the alarm
// state, the handlers and the windows, started up. Form1 is the start-up window: created
// first, its load handler shows the main window, then Form1 itself is shown in front of it,
// unowned. The toolkit's event loop then delivers the events until the program ends.
class Program {
public:
    Program(Toolkit& toolkit, engine::WallClock& clock, engine::Beeper& beeper)
        : handlers_(toolkit)
        , windows_(toolkit, clock, beeper, alarmState_, handlers_) {
        windows_.reference<Form1>().show(Owner::None);
    }

    Windows& windows() { return windows_; }
    Handlers& handlers() { return handlers_; }
    engine::AlarmState& alarmState() { return alarmState_; }

private:
    engine::AlarmState alarmState_;
    Handlers handlers_;
    Windows windows_;
};

} // namespace ui
