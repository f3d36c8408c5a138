#pragma once

#include "engine/alarm_state.h"
#include "engine/ports.h"

#include <cstdint>

namespace engine {

// The loop bounds of the chime. The program uses the defaults; tests pass smaller ones.
struct ChimeBounds {
    int rounds = 5;
    int steps = 10000;
    std::int32_t spins = 100000;
    // Outer steps between two answers to assistive technologies: a fifth of a millisecond of a
    // pause of a quarter of a second. A screen reader makes dozens of calls in turn to speak one
    // object; each waits for the next answer.
    int stepsPerAnswer = 8;
};

// Five beeps, each followed by a pause of steps x spins counted steps. Holds the calling
// thread until the last pause is over, answering only `requests` every stepsPerAnswer steps
// of each pause. Throws RunTimeError when a counter overflows.
void RingChime(AlarmState& state, Beeper& beeper, AssistiveRequests& requests,
               ChimeBounds bounds = {});

// One pause of the chime, on its own for measuring.
void chimePause(AlarmState& state, AssistiveRequests& requests, const ChimeBounds& bounds);

} // namespace engine
