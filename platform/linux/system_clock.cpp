#include "platform/linux/system_clock.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <utility>

#include <sys/stat.h>

namespace platform {

SystemClock::SystemClock() {
    // Without TZ the C library looks at /etc/localtime on every tzset(), but a zone file
    // that TZ names by its path (":/etc/localtime", which some sessions set to spare it
    // the look-ups) it loads once: that file is watched here.
    if (const char* tz = std::getenv("TZ"); tz && (tz[0] == '/' || (tz[0] == ':' && tz[1] == '/')))
        tz_ = tz;
}

void SystemClock::reloadZoneIfFileChanged() {
    struct stat file {};
    if (stat(tz_.c_str() + (tz_[0] == ':'), &file) != 0)
        file = {}; // gone: changed, once it is back
    const std::array<long long, 5> seen{static_cast<long long>(file.st_dev),
                                        static_cast<long long>(file.st_ino), file.st_size,
                                        file.st_mtim.tv_sec, file.st_mtim.tv_nsec};
    if (std::exchange(zoneFile_, seen).value_or(seen) == seen)
        return;
    // tzset() loads a zone named in TZ only when TZ differs from what it last saw, so TZ
    // names another zone for a moment. Other threads may read the environment meanwhile
    // (the beep worker, the toolkit's): setting a variable that is already there only
    // swaps the string in its slot of the environment, which stays where it is, and glibc
    // never frees the strings it made, so a reader gets the old value or the new one,
    // whole. None of them converts local time.
    setenv("TZ", "UTC0", 1);
    tzset();
    setenv("TZ", tz_.c_str(), 1);
}

std::tm SystemClock::read() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    // The C library converts with the zone it loaded; tzset() looks at TZ and, without it,
    // at /etc/localtime again, and loads the zone anew if it changed.
    if (std::exchange(zoneCheckedAt_, now) != now) {
        if (!tz_.empty())
            reloadZoneIfFileChanged();
        tzset();
    }
    localtime_r(&now, &local);
    return local;
}

int SystemClock::hour() { return read().tm_hour; }

int SystemClock::minute() { return read().tm_min; }

// A leap second (tm_sec 60) reads as the last second of its minute.
int SystemClock::second() { return std::min(read().tm_sec, 59); }

engine::LocalDateTime SystemClock::now() {
    const std::tm local = read();
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     std::min(local.tm_sec, 59)};
}

} // namespace platform
