#pragma once

#include "engine/ports.h"

namespace platform {

// The local time as Windows keeps it, in the zone of the system's settings; every call a
// fresh reading.
class SystemClock final : public engine::WallClock {
public:
    int hour() override;
    int minute() override;
    int second() override;
    engine::LocalDateTime now() override;
};

} // namespace platform
