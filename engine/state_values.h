#pragma once

// Small helpers shared by the writers of AlarmState; not part of the public interface.

#include "engine/ports.h"
#include "engine/value.h"

#include <cstdint>

namespace engine::detail {

inline const Value kZero{std::int16_t{0}};
inline const Value kOne{std::int16_t{1}};

inline Value CurrentSecond(WallClock& clock) {
    return Value{static_cast<std::int16_t>(clock.second())};
}

// Counters hold integers, whose sum with 1 always exists.
inline void CountUp(Value& counter) {
    if (auto sum = Add(counter, kOne)) {
        counter = std::move(*sum);
    }
}

} // namespace engine::detail
