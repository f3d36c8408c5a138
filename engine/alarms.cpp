#include "engine/alarms.h"

#include "engine/state_values.h"

#include <algorithm>
#include <limits>

namespace engine {

using detail::countUp;
using detail::currentSecond;
using detail::one;
using detail::zero;

namespace {

const Value two{std::int16_t{2}};
const Value sixty{std::int16_t{60}};

// A number beyond the range of a double leaves the alarm time undefined. NaN equals
// nothing and orders with nothing, so such an hour or minute never fires.
Value alarmTimePart(const std::string& text) {
    return Value{leadingNumber(text).value_or(std::numeric_limits<double>::quiet_NaN())};
}

AlarmTime minutesAndSeconds(const Value& minutes, const Value& seconds) {
    const auto product = multiply(minutes, sixty);
    return product ? add(*product, seconds) : std::nullopt;
}

// The fields of one alarm as operands: all 0 when any is empty, nullopt when one of them
// does not read as a number.
template <std::size_t N>
std::optional<std::array<Value, N>> operands(const std::array<const std::string*, N>& texts) {
    std::array<Value, N> values;
    const bool anyEmpty =
        std::any_of(texts.begin(), texts.end(), [](const std::string* t) { return t->empty(); });
    for (std::size_t i = 0; i < N; ++i) {
        values[i] = anyEmpty ? zero : Value{*texts[i]};
        if (!values[i].toDouble()) {
            return std::nullopt;
        }
    }
    return values;
}

bool matches(const Value& count, const AlarmTime& time) { return time && count == *time; }

bool reached(const Value& count, const AlarmTime& time) { return time && count >= *time; }

// Counts once per new wall-clock second: a count goes up at the first tick that falls in a
// second other than the last one seen.
void countNewSecond(Value& count, Value& lastSec, WallClock& clock) {
    if (currentSecond(clock) != lastSec) {
        countUp(count);
        lastSec = currentSecond(clock);
    }
}

void ringBell1(AlarmState& state, const AlarmTime& time, Beeper& beeper) {
    if (matches(state.presCount, time) && state.bell1Count == zero) {
        beeper.beep();
        countUp(state.bell1Count);
    }
}

// Bells 2 and 3 ring once a second from their time on, never in the second of the last beep,
// until their count has passed `lastRing`; the last ring of the bell that ends the run stops it.
void ringRepeatedly(AlarmState& state, Value& count, const Value& lastRing, bool endsRun,
                    const AlarmTime& time, WallClock& clock, Beeper& beeper) {
    if (!reached(state.presCount, time)) {
        return;
    }
    if (currentSecond(clock) != state.lastBeepSec && count <= lastRing) {
        beeper.beep();
        if (endsRun && count == lastRing) {
            state.presOn = zero;
        }
        countUp(count);
        state.lastBeepSec = currentSecond(clock);
    }
}

} // namespace

std::optional<int> prepareTimeAlarm(AlarmState& state, Dialogs& dialogs, WallClock& clock) {
    if (state.alarmArmed != one) {
        return std::nullopt;
    }
    state.alarmHour = alarmTimePart(dialogs.fieldText(Field::Form1_Text1));
    state.alarmMinute = alarmTimePart(dialogs.fieldText(Field::Form1_Text2));
    return clock.minute();
}

BellTimes bellTimesFrom(const FieldTexts& texts) {
    const auto& t = texts.bells;
    const auto v = operands<6>({&t[0], &t[1], &t[2], &t[3], &t[4], &t[5]});
    if (!v) {
        return {};
    }
    const auto& f = *v;
    BellTimes bells{minutesAndSeconds(f[0], f[1]), minutesAndSeconds(f[2], f[3]), std::nullopt};
    if (const auto bell3 = minutesAndSeconds(f[4], f[5])) {
        if (const auto whole = bell3->toInt32()) {
            bells.bell3 = Value{*whole};
        }
    }
    return bells;
}

AlarmTime intervalLengthFrom(const FieldTexts& texts) {
    const auto v = operands<2>({&texts.intervalMinutes, &texts.intervalSeconds});
    return v ? minutesAndSeconds((*v)[0], (*v)[1]) : std::nullopt;
}

void runPresentationAlarm(AlarmState& state, const BellTimes& bells, WallClock& clock,
                          Beeper& beeper) {
    if (state.presOn != one || state.alarmOff != zero) {
        return;
    }
    countNewSecond(state.presCount, state.presLastSec, clock);
    ringBell1(state, bells.bell1, beeper);
    ringRepeatedly(state, state.bell2Count, one, false, bells.bell2, clock, beeper);
    ringRepeatedly(state, state.bell3Count, two, true, bells.bell3, clock, beeper);
}

void runIntervalAlarm(AlarmState& state, const AlarmTime& length, WallClock& clock,
                      Beeper& beeper) {
    if (state.intervalOn != one) {
        return;
    }
    countNewSecond(state.intervalCount, state.intervalLastSec, clock);
    if (matches(state.intervalCount, length)) {
        beeper.beep();
        state.intervalCount = zero;
    }
}

void fireTimeAlarm(AlarmState& state, std::optional<int> notedMinute, WallClock& clock,
                   Dialogs& dialogs, Beeper& beeper, AssistiveRequests& requests,
                   const ChimeBounds& chime) {
    if (state.alarmArmed != one || !notedMinute) {
        return;
    }
    if (Value{static_cast<std::int16_t>(clock.hour())} != state.alarmHour) {
        return;
    }
    if (state.alarmMinute <= Value{static_cast<std::int16_t>(*notedMinute)}) {
        dialogs.setNotice(alarmNotice);
        if (state.alarmOff == zero) {
            RingChime(state, beeper, requests, chime);
        }
    }
}

} // namespace engine
