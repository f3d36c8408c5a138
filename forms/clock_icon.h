#pragma once

#include "forms/form_def.h"

#include <array>
#include <string_view>

namespace forms {

// The clock icon shared by every window, one character a pixel: '.' the blue face,
// 'Y' the yellow marks and hands (a thick hand at ten o'clock, a thin one at two).
inline constexpr int clockIconSize = 32;
inline constexpr Rgb clockIconFace{0, 0, 255};
inline constexpr Rgb clockIconInk{255, 255, 0};

// clang-format off
inline constexpr std::array<std::string_view, clockIconSize> clockIconRows{
    "..............YY................",
    "..............YY................",
    "................................",
    "................................",
    "...YY......................YY...",
    "....YYYY..................YY....",
    ".....YYYY................YY.....",
    "......YYYY..............YY......",
    "......YYYY.............YY.......",
    ".......YYYY...........YY........",
    "........YYYY.........YY.........",
    ".........YYYY.......YY..........",
    "..........YYYY.....YY...........",
    "..........YYYY....YY............",
    "...........YYYY..YY.............",
    "YY..........YYYYYY............YY",
    "YY...........YYYY.............YY",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
    "..............YY................",
    "..............YY................",
};
// clang-format on

constexpr Rgb clockIconPixel(int row, int column) {
    return clockIconRows.at(row).at(column) == 'Y' ? clockIconInk : clockIconFace;
}

inline constexpr Icon clockIcon{clockIconSize, clockIconPixel};

} // namespace forms
