#include "platform/windows/system_clock.h"

#include <windows.h>

namespace platform {
namespace {

SYSTEMTIME localTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now;
}

} // namespace

int SystemClock::hour() { return localTime().wHour; }
int SystemClock::minute() { return localTime().wMinute; }
int SystemClock::second() { return localTime().wSecond; }

engine::LocalDateTime SystemClock::now() {
    const SYSTEMTIME t = localTime();
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

} // namespace platform
