#include "ui/system_services.h"

#include "ui/beep/beep_queue.h"
#include "ui/beep/system_sink.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace ui {

std::tm SystemClock::read() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
#ifdef _WIN32
    if (std::exchange(zoneCheckedAt_, now) != now)
        _tzset();
    localtime_s(&local, &now);
#else
    // The C library converts with the zone it loaded; tzset() looks at TZ and, without it,
    // at /etc/localtime again, and loads the zone anew if it changed.
    if (std::exchange(zoneCheckedAt_, now) != now)
        tzset();
    localtime_r(&now, &local);
#endif
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

SystemBeeper::SystemBeeper()
    : SystemBeeper(beep::MakeSystemSink()) {}

SystemBeeper::SystemBeeper(std::unique_ptr<beep::Sink> sink)
    : queue_(std::make_unique<beep::BeepQueue>(std::move(sink))) {}

SystemBeeper::~SystemBeeper() = default;

void SystemBeeper::beep() { queue_->request(); }

void SystemBeeper::hush() { queue_->hush(); }

} // namespace ui
