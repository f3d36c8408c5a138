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
};

// Five beeps, each followed by a pause of steps x spins counted steps. Holds the calling
// thread until the last pause is over. Throws RunTimeError when a counter overflows.
void RingChime(AlarmState& state, Beeper& beeper, ChimeBounds bounds = {});

// One pause of the chime, on its own for measuring.
void chimePause(AlarmState& state, const ChimeBounds& bounds);

} // namespace engine
