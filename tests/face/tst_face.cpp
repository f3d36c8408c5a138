// The clock face on a client area of 7215 x 5385 twips: the readout without leading zeros,
// the marks at the middles of the edges, the hands from the centre to the ends that their
// tables pick (sixteenths of each edge, quarters for the hour), and the title with the date
// alone at midnight; each after a tick that placed them elsewhere. Then the dial's lines as
// a front-end paints and repaints them.

#include "memory_surface.h"

#include "../cells.h"
#include "../standing_clock.h"
#include "face/clock_face.h"
#include "face/dial_lines.h"
#include "face/dial_surface.h"
#include "forms/definitions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

struct Face final : MemorySurface, StandingClock, face::RegionalSettings {
    face::ClockFace clockFace{*this, *this, *this};

    std::string shortDate(const engine::LocalDateTime&) override { return "date"; }
    std::string longTime(const engine::LocalDateTime&) override { return "time"; }
    void tick(const char* time) {
        std::sscanf(time, "%d:%d:%d", &at.hour, &at.minute, &at.second);
        clockFace.ShowDigitalTime();
        clockFace.DrawDialMarks();
        clockFace.DrawHands();
        clockFace.ShowTitle();
    }
    // The ends from..to-1 (X1 Y1 X2 Y2) of each line.
    std::string ends(std::initializer_list<face::Line> which, int from = 0, int to = 4) const {
        std::string text;
        for (const face::Line line : which)
            for (int end = from; end < to; ++end) {
                char number[32];
                std::snprintf(number, sizeof number, " %.10g", lines[std::size_t(line)][end]);
                text += number;
            }
        return text.substr(1);
    }
};

// A front-end's client area at 144 dpi, 722 x 539 pixels, that notes what it is asked to
// repaint, and which lines it draws (by their number in face::Line) and how wide.
struct RecordingDial final : face::DialSurface {
    std::vector<face::PixelRect> invalidated;

    RecordingDial()
        : DialSurface(forms::mainForm.lines, 144) {}
    float ScaleWidth() override { return 7215; }
    float ScaleHeight() override { return 5385; }
    void setReadout(std::string_view) override {}
    void setTitle(std::string_view) override {}
    void invalidate(const face::PixelRect& area) override { invalidated.push_back(area); }
    std::string paint(const face::PixelRect& dirty) const {
        std::string drawn;
        paintDial(dirty, [&](std::size_t, const face::DialLines::Painted& line) {
            drawn += std::to_string(int(line.line)) + ":" + std::to_string(line.width) + " ";
        });
        return drawn;
    }
};

} // namespace

// The hands' ends X2 Y2 are the second's, the minute's and the hour's; 3607.5 and 2692.5
// are the middles of the edges, so that at 9:15:30 the second hand points down, the minute
// hand right and the hour hand left.
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
            "23:53:59|3156.5625 0 450.9375 0 1803.75 0", "9:15:30|3607.5 5385 7215 2692.5 0 2692.5",
            "6:45:0|3607.5 0 0 2692.5 3607.5 5385"}) {
        // clang-format on
        const auto cells = cellsOf(row);
        SCOPED_TRACE(row);
        Face face;
        face.tick("10:10:40");
        face.tick(row);
        EXPECT_EQ(face.readout, cells[0]);
        EXPECT_EQ(face.ends({L::Line9, L::Line10, L::Line11, L::Line12}),
                  "3607.5 168.28125 3607.5 0 6989.53125 2692.5 7215 2692.5 "
                  "3607.5 5216.71875 3607.5 5385 0 2692.5 225.46875 2692.5");
        EXPECT_EQ(face.ends({L::Line1, L::Line2, L::Line3}, 0, 2), // from the centre
                  "3607.5 2692.5 3607.5 2692.5 3607.5 2692.5");
        EXPECT_EQ(face.ends({L::Line1, L::Line2, L::Line3}, 2), cells[1]);
        EXPECT_EQ(face.title, (cells[0] == "0:0:0" ? "date" : "date time") +
                                  std::string("     [Hozel] Ver8.1[win8.1]"));
    }
}

// The dial's lines as a front-end paints them, at 144 dpi: in the order of the definition
// (hands over marks), widths grown with the density, only those that reach into the area
// being painted. A coordinate that moves repaints the area the line leaves and the area it
// enters, where it is then drawn, round caps and the rounding of the ends to whole pixels
// included, and little more; one that stays repaints nothing, one that is not a number is
// ignored, and one beyond any screen is held at 2^24 pixels.
TEST(Face, DialLinesRepaintWhatTheyLeaveAndEnter) {
    RecordingDial dial;
    EXPECT_EQ(dial.paint({0, 0, 722, 539}), "6:12 5:12 4:12 3:12 2:20 1:5 0:2 ");
    EXPECT_EQ(dial.paint({0, 0, 15, 15}), "");
    EXPECT_EQ(dial.paint({322, 262, 326, 266}), "0:2 "); // the second hand's end, (3240, 2640)
                                                         // clang-format off
    for (const char* row : {"2|2|1000|156 312 100 408", "2|2|1000|", "2|0|-35|-3.5 312 100 408",
                            "0|3|nan|", "4|1|1e30|444 16777216 528 264",
                            "4|1|-inf|444 -16777216 528 264", "6|2|3e38|516 144 16777216 228"}) {
        // clang-format on
        SCOPED_TRACE(row);
        const auto cells = cellsOf(row);
        const auto line = face::Line(std::stoi(cells[0]));
        const face::PixelRect before = dial.dial().painted(line).bounds;
        dial.invalidated.clear();
        dial.setEnd(line, face::End(std::stoi(cells[1])), std::stof(cells[2]));
        const face::DialLines::Painted& after = dial.dial().painted(line);
        char ends[96];
        std::snprintf(ends, sizeof ends, "%.10g %.10g %.10g %.10g", after.x1, after.y1, after.x2,
                      after.y2);
        EXPECT_EQ(dial.invalidated.empty() ? "" : ends, cells[3]);
        if (dial.invalidated.empty())
            continue;
        ASSERT_EQ(dial.invalidated.size(), 2u);
        EXPECT_EQ(dial.invalidated[0], before);
        // What a round-capped pen of this width paints from ends rounded to whole pixels.
        const double reach = after.width / 2.0 + 0.5;
        const face::PixelRect& entered = dial.invalidated[1];
        const double covered[] = {
            std::min(after.x1, after.x2) - reach, std::min(after.y1, after.y2) - reach,
            std::max(after.x1, after.x2) + reach, std::max(after.y1, after.y2) + reach};
        EXPECT_TRUE(entered.left <= covered[0] && entered.top <= covered[1] &&
                    entered.right >= covered[2] && entered.bottom >= covered[3]);
        EXPECT_TRUE(entered.left > covered[0] - 4 && entered.top > covered[1] - 4 &&
                    entered.right < covered[2] + 4 && entered.bottom < covered[3] + 4);
        EXPECT_NE(dial.paint(entered).find(cells[0] + ":"), std::string::npos);
    }
}
