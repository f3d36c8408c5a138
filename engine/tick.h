#pragma once

#include "engine/alarm_state.h"
#include "engine/chime.h"
#include "engine/fault_log.h"
#include "engine/ports.h"

namespace engine {

// Everything outside the engine that one tick reaches.
struct TickPorts {
    WallClock& clock;
    Beeper& beeper;
    Dialogs& dialogs;
    FaceSteps& face;
    AssistiveRequests& requests;
    ChimeBounds chime = ChimeBounds{};
};

// The steps of the clock tick, every 100 ms, in their order. A step that throws ends the
// tick: the exception leaves this function and no later step runs.
void runTickSteps(AlarmState& state, TickPorts& ports);

// The tick as mainForm's Timer1 runs it: a step that throws ends the tick and is reported to
// `faults` with its number and name; the counts that are due are written too.
void runTick(AlarmState& state, TickPorts& ports, FaultLog& faults, FaultLog::Time now) noexcept;

} // namespace engine
