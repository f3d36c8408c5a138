#include "engine/commands.h"

#include "engine/state_values.h"

namespace engine {

using detail::CurrentSecond;
using detail::kOne;
using detail::kZero;

void ResetAlarms(AlarmState& state) {
    state.intervalCount = kZero;
    state.intervalOn = kZero;
    state.alarmOff = kZero;
    state.presOn = kZero;
    state.presCount = kZero;
}

void NoteStartSecond(AlarmState& state, WallClock& clock) {
    state.lastBeepSec = CurrentSecond(clock);
}

void SetAlarmTime(AlarmState& state, WallClock& clock, Beeper& beeper) {
    state.presCount = kZero;
    state.presOn = kZero;
    state.presLastSec = CurrentSecond(clock);
    state.alarmOff = kZero;
    state.bell1Count = kZero;
    state.bell2Count = kZero;
    state.bell3Count = kZero;
    beeper.beep();
    state.alarmArmed = kOne;
}

void StartInterval(AlarmState& state, WallClock& clock, Beeper& beeper) {
    state.intervalCount = kZero;
    state.intervalOn = kOne;
    state.intervalLastSec = CurrentSecond(clock);
    state.alarmOff = kZero;
    beeper.beep();
}

void StartPresentation(AlarmState& state, WallClock& clock, Beeper& beeper) {
    state.presCount = kZero;
    state.presOn = kOne;
    state.presLastSec = CurrentSecond(clock);
    state.alarmOff = kZero;
    state.bell1Count = kZero;
    state.bell2Count = kZero;
    state.bell3Count = kZero;
    beeper.beep();
}

void AlarmOff(AlarmState& state) {
    state.intervalOn = kZero;
    state.alarmOff = kOne;
}

} // namespace engine
