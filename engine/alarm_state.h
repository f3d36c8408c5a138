#pragma once

#include "engine/value.h"

#include <cstdint>

namespace engine {

// The variables that the tick and the command handlers share. The program holds one;
// the handlers read and assign the members directly. Flags are 16-bit 0 and 1, and a
// stored second is the second of the current minute.
struct AlarmState {
    Value intervalCount{std::int16_t{0}};
    Value intervalOn{std::int16_t{0}};
    Value intervalLastSec;
    Value alarmOff{std::int16_t{0}};
    Value presLastSec;
    Value presOn{std::int16_t{0}};
    Value presCount{std::int16_t{0}};
    Value bell1Count;
    Value bell2Count;
    Value bell3Count;
    Value lastBeepSec;
    Value alarmHour;
    Value alarmMinute;
    Value alarmArmed;
    std::int16_t chimeRound = 0;
    Value chimeStep;
    std::int32_t chimeSpin = 0;
};

} // namespace engine
