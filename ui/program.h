#pragma once

#include "engine/alarm_state.h"
#include "ui/forms.h"

namespace ui {

// One run of the program on a toolkit, with the platform's wall clock and beep: the alarm
// state and the windows, started up. The toolkit's event loop then delivers the events until
// the program ends.
class Program {
public:
    Program(Toolkit& toolkit, engine::WallClock& clock, engine::Beeper& beeper)
        : forms_(toolkit, clock, beeper, alarmState_) {
        forms_.startUp();
    }

    Forms& forms() { return forms_; }

private:
    engine::AlarmState alarmState_;
    Forms forms_;
};

} // namespace ui
