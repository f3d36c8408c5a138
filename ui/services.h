#pragma once

#include "engine/alarm_state.h"
#include "engine/ports.h"

namespace ui {

class Handlers;
class Toolkit;
class Windows;

// What the windows' handlers reach beyond their own window, handed to each window as it is
// made: the toolkit, the platform's clock and beep, the alarm state that the tick and the
// commands share, the other windows, and the handlers' runner.
struct Services {
    Toolkit& toolkit;
    engine::WallClock& clock;
    engine::Beeper& beeper;
    engine::AlarmState& alarms;
    Windows& windows;
    Handlers& handlers;
};

} // namespace ui
