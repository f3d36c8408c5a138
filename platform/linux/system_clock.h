#pragma once

#include "engine/ports.h"

#include <array>
#include <ctime>
#include <optional>
#include <string>

namespace platform {

// The local time of the system's time zone. Once in every new second the zone is looked
// up again, so that a change of zone (the desktop's settings, a laptop that travels) shows
// within a second: a change of /etc/localtime, or of the zone file that TZ names by its
// path. A zone that TZ names by its name stays as it is.
class SystemClock final : public engine::WallClock {
public:
    SystemClock();
    int hour() override;
    int minute() override;
    int second() override;
    engine::LocalDateTime now() override;

private:
    std::tm read();
    std::time_t zoneCheckedAt_ = -1;
    void reloadZoneIfFileChanged();
    std::string tz_;                                   // TZ when it names a zone file by its path
    std::optional<std::array<long long, 5>> zoneFile_; // what that file was when last looked at
};

} // namespace platform
