// The clock face on a client area of 7215 x 5385 twips: the readout without leading zeros,
// the marks at the middles of the edges, the hands from the centre to the ends that their
// tables pick (sixteenths of each edge, quarters for the hour), and the title with the date
// alone at midnight; each after a tick that placed them elsewhere.

#include "memory_surface.h"

#include "../cells.h"
#include "../standing_clock.h"
#include "face/clock_face.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

struct Face final : MemorySurface, StandingClock, face::RegionalSettings {
    face::ClockFace clockFace{*this, *this, *this};

    std::string shortDate(const engine::LocalDateTime&) override { return "date"; }
    std::string longTime(const engine::LocalDateTime&) override { return "time"; }
    void tick() {
        clockFace.ShowDigitalTime();
        clockFace.DrawDialMarks();
        clockFace.DrawHands();
        clockFace.ShowTitle();
    }
    // X1 Y1 X2 Y2 of the lines, or X2 Y2 only.
    std::string ends(std::initializer_list<face::Line> which, std::size_t from = 0) const {
        std::string text;
        for (const face::Line line : which)
            for (std::size_t end = from; end < 4; ++end) {
                char number[32];
                std::snprintf(number, sizeof number, " %.10g", lines[std::size_t(line)][end]);
                text += number;
            }
        return text.substr(1);
    }
};

} // namespace

TEST(Face, ReadoutMarksHandsAndTitle) {
    using L = face::Line;
    // clang-format off
    for (const char* row : {
            "21:56:38|0 5048.4375 1803.75 0 0 2692.5", "9:5:3|4960.3125 0 5862.1875 0 0 2692.5",
            "0:0:0|3607.5 0 3607.5 0 3607.5 0", "0:0:1|4058.4375 0 3607.5 0 3607.5 0",
            "1:7:8|7215 336.5625 6764.0625 0 5411.25 0", "2:22:23|6764.0625 5385 7215 5048.4375 7215 1346.25",
            "5:37:38|0 5048.4375 450.9375 5385 5411.25 5385", "8:52:53|450.9375 0 0 336.5625 0 4038.75",
            "11:59:7|6764.0625 0 3156.5625 0 1803.75 0", "14:8:22|7215 5048.4375 7215 336.5625 7215 1346.25",
            "17:23:37|450.9375 5385 6764.0625 5385 5411.25 5385", "20:38:52|0 336.5625 0 5048.4375 0 4038.75",
            "23:53:59|3156.5625 0 450.9375 0 1803.75 0"}) {
        // clang-format on
        const auto cells = Cells(row);
        SCOPED_TRACE(row);
        Face face;
        face.tick();
        std::sscanf(row, "%d:%d:%d", &face.at.hour, &face.at.minute, &face.at.second);
        face.tick();
        EXPECT_EQ(face.readout, cells[0]);
        EXPECT_EQ(face.ends({L::Line9, L::Line10, L::Line11, L::Line12}),
                  "3607.5 168.28125 3607.5 0 6989.53125 2692.5 7215 2692.5 "
                  "3607.5 5216.71875 3607.5 5385 0 2692.5 225.46875 2692.5");
        for (const L hand : {L::Line1, L::Line2, L::Line3}) // from the centre
            EXPECT_EQ(face.ends({hand}).rfind("3607.5 2692.5 ", 0), 0u);
        EXPECT_EQ(face.ends({L::Line1, L::Line2, L::Line3}, 2), cells[1]);
        EXPECT_EQ(face.title, (cells[0] == "0:0:0" ? "date" : "date time") +
                                  std::string("     [Hozel] Ver8.1[win8.1]"));
    }
}
