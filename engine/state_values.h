#pragma once

// Small helpers shared by the writers of AlarmState; not part of the public interface.

#include "engine/ports.h"
#include "engine/value.h"

#include <cstdint>

namespace engine::detail {

inline const Value zero{std::int16_t{0}};
inline const Value one{std::int16_t{1}};

inline Value currentSecond(WallClock& clock) {
    return Value{static_cast<std::int16_t>(clock.second())};
}

// Counters hold integers, whose sum with 1 always exists.
inline void countUp(Value& counter) {
    if (auto sum = add(counter, one)) {
        counter = std::move(*sum);
    }
}

} // namespace engine::detail
