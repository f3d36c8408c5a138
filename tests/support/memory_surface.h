#pragma once

#include "face/surface.h"

#include <array>
#include <string>

// A client area of 7215 x 5385 twips that keeps what the clock face assigns.
struct MemorySurface : face::Surface {
    std::array<std::array<float, 4>, face::lineCount> lines{};
    std::string readout, title;

    float ScaleWidth() override { return 7215; }
    float ScaleHeight() override { return 5385; }
    void setEnd(face::Line line, face::End end, float twips) override {
        lines.at(std::size_t(line)).at(std::size_t(end)) = twips;
    }
    void setReadout(std::string_view caption) override { readout = caption; }
    void setTitle(std::string_view caption) override { title = caption; }
};
