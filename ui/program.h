#pragma once

#include "engine/alarm_state.h"
#include "ui/windows.h"

namespace ui {

// One run of the program on a toolkit: the alarm state and the windows, started up. The
// toolkit's event loop then delivers the events until the program ends.
class Program {
public:
    explicit Program(Toolkit& toolkit)
        : windows_(toolkit, alarmState_) {
        windows_.StartUp();
    }

    Windows& windows() { return windows_; }

private:
    engine::AlarmState alarmState_;
    Windows windows_;
};

} // namespace ui
