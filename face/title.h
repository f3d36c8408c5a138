#pragma once

#include "engine/ports.h"

#include <QLocale>

#include <string>
#include <string_view>

namespace face {

inline constexpr std::string_view titleSuffix = "     [Hozel] Ver8.1[win8.1]";

// The window title under a locale: its short date, a blank and its long time without the
// time zone, then the suffix; at exactly 0:00:00 the date alone.
std::string titleText(const engine::LocalDateTime& when, const QLocale& locale);

} // namespace face
