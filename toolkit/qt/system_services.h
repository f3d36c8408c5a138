#pragma once

// The engine's view of the platform: the local wall clock and the system beep.

#include "engine/ports.h"

#include <array>
#include <ctime>
#include <memory>
#include <optional>
#include <string>

namespace toolkit::qt {

namespace beep {
class BeepQueue;
class Sink;
} // namespace beep

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

// beep() only hands the request to a worker thread that plays it, so the user-interface
// thread never waits for the sound, also not while it counts out the chime.
class SystemBeeper final : public engine::Beeper {
public:
    SystemBeeper(); // the platform's sound
    explicit SystemBeeper(std::unique_ptr<beep::Sink> sink);
    ~SystemBeeper() override;
    SystemBeeper(const SystemBeeper&) = delete;
    SystemBeeper& operator=(const SystemBeeper&) = delete;

    void beep() override;
    void hush() override;

private:
    std::unique_ptr<beep::BeepQueue> queue_;
};

} // namespace toolkit::qt
