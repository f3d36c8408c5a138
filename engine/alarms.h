#pragma once

// The alarm steps of the tick. Each takes what it needs and reads the wall clock afresh
// for every value it uses.

#include "engine/alarm_state.h"
#include "engine/chime.h"
#include "engine/ports.h"
#include "engine/value.h"

#include <array>
#include <optional>
#include <string>

namespace engine {

// The field texts read at the start of a tick, in reading order.
struct FieldTexts {
    std::string intervalMinutes;      // Form2.Text3
    std::string intervalSeconds;      // Form2.Text1
    std::array<std::string, 6> bells; // Form4.Text1..Text6: minutes, seconds of bells 1..3
};

// A time in seconds; nullopt when the fields give none, and then nothing matches it.
using AlarmTime = std::optional<Value>;

struct BellTimes {
    AlarmTime bell1; // double
    AlarmTime bell2; // double
    AlarmTime bell3; // 32-bit integer
};

// Step 3, while armed: alarmHour and alarmMinute from Form1's fields. Returns the
// minute noted for step 9, or nullopt when not armed.
std::optional<int> prepareTimeAlarm(AlarmState& state, Dialogs& dialogs, WallClock& clock);

// Step 4. Any empty field makes all six 0. A field that is not a number leaves all three
// times undefined; a time that does not fit its kind leaves that bell undefined.
BellTimes bellTimesFrom(const FieldTexts& texts);

// Step 6, by the same rules as the bell times.
AlarmTime intervalLengthFrom(const FieldTexts& texts);

// Step 7, while presOn = 1 and alarmOff = 0.
void runPresentationAlarm(AlarmState& state, const BellTimes& bells, WallClock& clock,
                          Beeper& beeper);

// Step 8, while intervalOn = 1.
void runIntervalAlarm(AlarmState& state, const AlarmTime& length, WallClock& clock, Beeper& beeper);

// Step 9, while armed: the notice and, unless muted, the chime from the alarm minute to
// the end of the alarm hour.
void fireTimeAlarm(AlarmState& state, std::optional<int> notedMinute, WallClock& clock,
                   Dialogs& dialogs, Beeper& beeper, AssistiveRequests& requests,
                   const ChimeBounds& chime);

inline constexpr std::string_view alarmNotice = "時間ですよ！";

} // namespace engine
