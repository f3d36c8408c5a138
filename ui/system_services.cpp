#include "ui/system_services.h"

#include "ui/beep/beep_queue.h"
#include "ui/beep/system_sink.h"

#include <QGuiApplication>

#include <algorithm>
#include <chrono>
#include <ctime>

namespace ui {
namespace {

// One reading of the local wall clock. The C library converts with the zone data it
// loaded on first use, so a reading costs a clock call and a table look-up.
std::tm localNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

} // namespace

int SystemClock::hour() { return localNow().tm_hour; }

int SystemClock::minute() { return localNow().tm_min; }

// A leap second (tm_sec 60) reads as the last second of its minute.
int SystemClock::second() { return std::min(localNow().tm_sec, 59); }

engine::LocalDateTime SystemClock::now() {
    const std::tm local = localNow();
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     std::min(local.tm_sec, 59)};
}

SystemBeeper::SystemBeeper()
    : SystemBeeper(beep::MakeSystemSink(QGuiApplication::platformName() == u"xcb")) {}

SystemBeeper::SystemBeeper(std::unique_ptr<beep::Sink> sink)
    : queue_(std::make_unique<beep::BeepQueue>(std::move(sink))) {}

SystemBeeper::~SystemBeeper() = default;

void SystemBeeper::beep() { queue_->request(); }

} // namespace ui
