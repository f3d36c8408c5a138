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

namespace {

// An alarm that starts counts from 0, from the current second, and ends the mute.
void countAfresh(AlarmState& state, Value& count, Value& on, const Value& running, Value& lastSec,
                 WallClock& clock) {
    count = zero;
    on = running;
    lastSec = currentSecond(clock);
    state.alarmOff = zero;
}

// Both 時刻設定 and the presentation's START silence the bells and beep; only START runs it.
void restartPresentation(AlarmState& state, const Value& running, WallClock& clock,
                         Beeper& beeper) {
    countAfresh(state, state.presCount, state.presOn, running, state.presLastSec, clock);
    state.bell1Count = zero;
    state.bell2Count = zero;
    state.bell3Count = zero;
    beeper.beep();
}

} // namespace

void setAlarmTime(AlarmState& state, WallClock& clock, Beeper& beeper) {
    restartPresentation(state, zero, clock, beeper);
    state.alarmArmed = one;
}

void startInterval(AlarmState& state, WallClock& clock, Beeper& beeper) {
    countAfresh(state, state.intervalCount, state.intervalOn, one, state.intervalLastSec, clock);
    beeper.beep();
}

void startPresentation(AlarmState& state, WallClock& clock, Beeper& beeper) {
    restartPresentation(state, one, clock, beeper);
}

void alarmOff(AlarmState& state) {
    state.intervalOn = zero;
    state.alarmOff = one;
}

} // namespace engine
