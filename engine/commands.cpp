#include "engine/commands.h"

#include "engine/state_values.h"

namespace engine {

using detail::currentSecond;
using detail::one;
using detail::zero;

void resetAlarms(AlarmState& state) {
    state.intervalCount = zero;
    state.intervalOn = zero;
    state.alarmOff = zero;
    state.presOn = zero;
    state.presCount = zero;
}

void noteStartSecond(AlarmState& state, WallClock& clock) {
    state.lastBeepSec = currentSecond(clock);
}

void setAlarmTime(AlarmState& state, WallClock& clock, Beeper& beeper) {
    state.presCount = zero;
    state.presOn = zero;
    state.presLastSec = currentSecond(clock);
    state.alarmOff = zero;
    state.bell1Count = zero;
    state.bell2Count = zero;
    state.bell3Count = zero;
    beeper.beep();
    state.alarmArmed = one;
}

void startInterval(AlarmState& state, WallClock& clock, Beeper& beeper) {
    state.intervalCount = zero;
    state.intervalOn = one;
    state.intervalLastSec = currentSecond(clock);
    state.alarmOff = zero;
    beeper.beep();
}

void startPresentation(AlarmState& state, WallClock& clock, Beeper& beeper) {
    state.presCount = zero;
    state.presOn = one;
    state.presLastSec = currentSecond(clock);
    state.alarmOff = zero;
    state.bell1Count = zero;
    state.bell2Count = zero;
    state.bell3Count = zero;
    beeper.beep();
}

void alarmOff(AlarmState& state) {
    state.intervalOn = zero;
    state.alarmOff = one;
}

} // namespace engine
