#pragma once

// What the UI's command handlers write into AlarmState, each in its own order.

#include "engine/alarm_state.h"
#include "engine/ports.h"

namespace engine {

// Main window load, first assignments: all alarms idle.
void resetAlarms(AlarmState& state);
// Main window load, last assignment: lastBeepSec := the current second.
void noteStartSecond(AlarmState& state, WallClock& clock);
// "時刻設定" of Form1: stops the presentation alarm, clears the mute, beeps, arms.
void setAlarmTime(AlarmState& state, WallClock& clock, Beeper& beeper);
// "START" of Form2: the interval alarm counts again from 0.
void startInterval(AlarmState& state, WallClock& clock, Beeper& beeper);
// "START" of Form4: a new presentation run from 0 with silent bells.
void startPresentation(AlarmState& state, WallClock& clock, Beeper& beeper);
// Menu "アラームOFF": stops the interval alarm and mutes the other two; no beep.
void alarmOff(AlarmState& state);

} // namespace engine
