#pragma once

#include "engine/ports.h"

// A wall clock that stands where the test puts it.
struct StandingClock : engine::WallClock {
    engine::LocalDateTime at{2026, 12, 5, 10, 10, 40};

    int hour() override { return at.hour; }
    int minute() override { return at.minute; }
    int second() override { return at.second; }
    engine::LocalDateTime now() override { return at; }
};
