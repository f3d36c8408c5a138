#pragma once

#include "engine/alarm_state.h"
#include "ui/windows.h"

namespace ui {

// One run of the program on a toolkit, with the platform's wall clock and beep: the alarm
// state and the windows, started up. The toolkit's event loop then delivers the events until
// the program ends.
class Program {
public:
    Program(Toolkit& toolkit, engine::WallClock& clock, engine::Beeper& beeper)
        : windows_(toolkit, clock, beeper, alarmState_) {
        windows_.startUp();
    }

    Windows& windows() { return windows_; }

private:
    engine::AlarmState alarmState_;
    Windows windows_;
};

} // namespace ui
