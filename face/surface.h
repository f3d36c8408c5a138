#pragma once

// The main window as the clock face sees it: its client size in twips and the end
// points of its seven line controls. Reads and writes go through here one at a time,
// so a step that fails half-way leaves the coordinates it already assigned in place.

#include <cstddef>
#include <string_view>

namespace face {

enum class Line { Line1, Line2, Line3, Line9, Line10, Line11, Line12 };
inline constexpr std::size_t lineCount = 7;

enum class End { X1, Y1, X2, Y2 };

class Surface {
public:
    virtual ~Surface() = default;
    virtual float ScaleWidth() = 0;  // client width in twips
    virtual float ScaleHeight() = 0; // client height in twips
    virtual void setEnd(Line line, End end, float twips) = 0;
    virtual void setReadout(std::string_view caption) = 0; // Label1.Caption, UTF-8
    virtual void setTitle(std::string_view caption) = 0;   // mainForm.Caption, UTF-8
};

} // namespace face
