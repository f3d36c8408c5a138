#include "engine/alarms.h"

#include "engine/state_values.h"

#include <algorithm>
#include <limits>

namespace engine {

using detail::CountUp;
using detail::CurrentSecond;
using detail::kOne;
using detail::kZero;

namespace {

const Value kTwo{std::int16_t{2}};
const Value kSixty{std::int16_t{60}};

// A number beyond the range of a double leaves the alarm time undefined. NaN equals
// nothing and orders with nothing, so such an hour or minute never fires.
Value AlarmTimePart(const std::string& text) {
    return Value{LeadingNumber(text).value_or(std::numeric_limits<double>::quiet_NaN())};
}

AlarmTime MinutesAndSeconds(const Value& minutes, const Value& seconds) {
    const auto product = Multiply(minutes, kSixty);
    return product ? Add(*product, seconds) : std::nullopt;
}

// The fields of one alarm as operands: all 0 when any is empty, nullopt when one of them
// does not read as a number.
template <std::size_t N>
std::optional<std::array<Value, N>> Operands(const std::array<const std::string*, N>& texts) {
    std::array<Value, N> values;
    const bool anyEmpty =
        std::any_of(texts.begin(), texts.end(), [](const std::string* t) { return t->empty(); });
    for (std::size_t i = 0; i < N; ++i) {
        values[i] = anyEmpty ? kZero : Value{*texts[i]};
        if (!values[i].toDouble()) {
            return std::nullopt;
        }
    }
    return values;
}

bool Matches(const Value& count, const AlarmTime& time) { return time && count == *time; }

bool Reached(const Value& count, const AlarmTime& time) { return time && count >= *time; }

// Counts once per new wall-clock second: a count goes up at the first tick that falls in a
// second other than the last one seen.
void CountNewSecond(Value& count, Value& lastSec, WallClock& clock) {
    if (CurrentSecond(clock) != lastSec) {
        CountUp(count);
        lastSec = CurrentSecond(clock);
    }
}

void RingBell1(AlarmState& state, const AlarmTime& time, Beeper& beeper) {
    if (Matches(state.presCount, time) && state.bell1Count == kZero) {
        beeper.beep();
        CountUp(state.bell1Count);
    }
}

void RingBell2(AlarmState& state, const AlarmTime& time, WallClock& clock, Beeper& beeper) {
    if (!Reached(state.presCount, time)) {
        return;
    }
    if (CurrentSecond(clock) != state.lastBeepSec && state.bell2Count <= kOne) {
        beeper.beep();
        CountUp(state.bell2Count);
        state.lastBeepSec = CurrentSecond(clock);
    }
}

void RingBell3(AlarmState& state, const AlarmTime& time, WallClock& clock, Beeper& beeper) {
    if (!Reached(state.presCount, time)) {
        return;
    }
    if (CurrentSecond(clock) != state.lastBeepSec && state.bell3Count <= kTwo) {
        beeper.beep();
        if (state.bell3Count == kTwo) {
            state.presOn = kZero;
        }
        CountUp(state.bell3Count);
        state.lastBeepSec = CurrentSecond(clock);
    }
}

} // namespace

std::optional<int> PrepareTimeAlarm(AlarmState& state, Dialogs& dialogs, WallClock& clock) {
    if (state.alarmArmed != kOne) {
        return std::nullopt;
    }
    state.alarmHour = AlarmTimePart(dialogs.fieldText(Field::Form1_Text1));
    state.alarmMinute = AlarmTimePart(dialogs.fieldText(Field::Form1_Text2));
    return clock.minute();
}

BellTimes BellTimesFrom(const FieldTexts& texts) {
    const auto& t = texts.bells;
    const auto v = Operands<6>({&t[0], &t[1], &t[2], &t[3], &t[4], &t[5]});
    if (!v) {
        return {};
    }
    const auto& f = *v;
    BellTimes bells{MinutesAndSeconds(f[0], f[1]), MinutesAndSeconds(f[2], f[3]), std::nullopt};
    if (const auto bell3 = MinutesAndSeconds(f[4], f[5])) {
        if (const auto whole = bell3->toInt32()) {
            bells.bell3 = Value{*whole};
        }
    }
    return bells;
}

AlarmTime IntervalLengthFrom(const FieldTexts& texts) {
    const auto v = Operands<2>({&texts.intervalMinutes, &texts.intervalSeconds});
    return v ? MinutesAndSeconds((*v)[0], (*v)[1]) : std::nullopt;
}

void RunPresentationAlarm(AlarmState& state, const BellTimes& bells, WallClock& clock,
                          Beeper& beeper) {
    if (state.presOn != kOne || state.alarmOff != kZero) {
        return;
    }
    CountNewSecond(state.presCount, state.presLastSec, clock);
    RingBell1(state, bells.bell1, beeper);
    RingBell2(state, bells.bell2, clock, beeper);
    RingBell3(state, bells.bell3, clock, beeper);
}

void RunIntervalAlarm(AlarmState& state, const AlarmTime& length, WallClock& clock,
                      Beeper& beeper) {
    if (state.intervalOn != kOne) {
        return;
    }
    CountNewSecond(state.intervalCount, state.intervalLastSec, clock);
    if (Matches(state.intervalCount, length)) {
        beeper.beep();
        state.intervalCount = kZero;
    }
}

void FireTimeAlarm(AlarmState& state, std::optional<int> notedMinute, WallClock& clock,
                   Dialogs& dialogs, Beeper& beeper, const ChimeBounds& chime) {
    if (state.alarmArmed != kOne || !notedMinute) {
        return;
    }
    if (Value{static_cast<std::int16_t>(clock.hour())} != state.alarmHour) {
        return;
    }
    if (state.alarmMinute <= Value{static_cast<std::int16_t>(*notedMinute)}) {
        dialogs.setNotice(kAlarmNotice);
        if (state.alarmOff == kZero) {
            RingChime(state, beeper, chime);
        }
    }
}

} // namespace engine
