#include "engine/chime.h"

#include "engine/run_time_error.h"
#include "engine/state_values.h"

#include <limits>

namespace engine {

namespace {

// The count is the delay, so the optimiser must neither drop nor shorten it: the
// counter is made opaque at every step.
#if defined(__GNUC__) || defined(__clang__)
inline void keepStep(std::int32_t& counter) { __asm__ __volatile__("" : "+r"(counter)); }
#else
volatile std::int32_t stepSink = 0;
inline void keepStep(std::int32_t& counter) { stepSink = counter; }
#endif

template <typename Int> Int addOne(Int counter) {
    if (counter == std::numeric_limits<Int>::max()) {
        throw RunTimeError(RunTimeError::Kind::Overflow, "Overflow");
    }
    return static_cast<Int>(counter + 1);
}

std::int32_t countTo(std::int32_t bound) {
    std::int32_t spin = 1;
    while (spin <= bound) {
        keepStep(spin);
        spin = addOne(spin);
    }
    return spin;
}

Value integerValue(int n) {
    if (n >= std::numeric_limits<std::int16_t>::min() &&
        n <= std::numeric_limits<std::int16_t>::max()) {
        return Value{static_cast<std::int16_t>(n)};
    }
    return Value{static_cast<std::int32_t>(n)};
}

} // namespace

void chimePause(AlarmState& state, AssistiveRequests& requests, const ChimeBounds& bounds) {
    // The outer loop takes its bound and step as dynamic values, once, before it starts.
    const Value last = integerValue(bounds.steps);
    const Value step = detail::one;
    int untilAnswer = bounds.stepsPerAnswer;
    state.chimeStep = detail::one;
    while (state.chimeStep <= last) {
        state.chimeSpin = countTo(bounds.spins);
        if (auto next = add(state.chimeStep, step)) {
            state.chimeStep = std::move(*next);
        }
        if (bounds.stepsPerAnswer > 0 && --untilAnswer == 0) {
            requests.answer();
            untilAnswer = bounds.stepsPerAnswer;
        }
    }
}

void RingChime(AlarmState& state, Beeper& beeper, AssistiveRequests& requests, ChimeBounds bounds) {
    for (state.chimeRound = 1; state.chimeRound <= bounds.rounds;
         state.chimeRound = addOne(state.chimeRound)) {
        beeper.beep();
        chimePause(state, requests, bounds);
    }
}

} // namespace engine
