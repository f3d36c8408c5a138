#include "engine/chime.h"

#include "engine/run_time_error.h"
#include "engine/state_values.h"

#include <limits>

namespace engine {

namespace {

// The count is the delay, so the optimiser must neither drop nor shorten it: the
// counter is made opaque at every step.
#if defined(__GNUC__) || defined(__clang__)
inline void KeepStep(std::int32_t& counter) { __asm__ __volatile__("" : "+r"(counter)); }
#else
volatile std::int32_t stepSink = 0;
inline void KeepStep(std::int32_t& counter) { stepSink = counter; }
#endif

template <typename Int> Int AddOne(Int counter) {
    if (counter == std::numeric_limits<Int>::max()) {
        throw RunTimeError(RunTimeError::Kind::Overflow, "Overflow");
    }
    return static_cast<Int>(counter + 1);
}

std::int32_t CountTo(std::int32_t bound) {
    std::int32_t spin = 1;
    while (spin <= bound) {
        KeepStep(spin);
        spin = AddOne(spin);
    }
    return spin;
}

Value IntegerValue(int n) {
    if (n >= std::numeric_limits<std::int16_t>::min() &&
        n <= std::numeric_limits<std::int16_t>::max()) {
        return Value{static_cast<std::int16_t>(n)};
    }
    return Value{static_cast<std::int32_t>(n)};
}

} // namespace

void ChimePause(AlarmState& state, const ChimeBounds& bounds) {
    // The outer loop takes its bound and step as dynamic values, once, before it starts.
    const Value last = IntegerValue(bounds.steps);
    const Value step = detail::kOne;
    state.chimeStep = detail::kOne;
    while (state.chimeStep <= last) {
        state.chimeSpin = CountTo(bounds.spins);
        if (auto next = Add(state.chimeStep, step)) {
            state.chimeStep = std::move(*next);
        }
    }
}

void RingChime(AlarmState& state, Beeper& beeper, ChimeBounds bounds) {
    for (state.chimeRound = 1; state.chimeRound <= bounds.rounds;
         state.chimeRound = AddOne(state.chimeRound)) {
        beeper.beep();
        ChimePause(state, bounds);
    }
}

} // namespace engine
