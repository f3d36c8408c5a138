#pragma once

#include "engine/ports.h"

#include <string>
#include <string_view>

namespace face {

inline constexpr std::string_view titleSuffix = "     [Hozel] Ver8.1[win8.1]";

// How the user's regional settings write a date and a time of day, in UTF-8.
class RegionalSettings {
public:
    virtual std::string shortDate(const engine::LocalDateTime& when) = 0;
    virtual std::string longTime(const engine::LocalDateTime& when) = 0;

protected:
    ~RegionalSettings() = default;
};

// The window title: the short date, a blank and the long time, then the suffix; at exactly
// 0:00:00 the date alone.
std::string titleText(const engine::LocalDateTime& when, RegionalSettings& settings);

} // namespace face
