// The clock face on a client area of 7215 x 5385 twips: the readout without leading zeros,
// the marks at the middles of the edges, the hands from the centre to the ends that their
// values pick (sixteenths of each edge, quarters for the hour), and the title with the date
// alone at midnight; each after a tick that placed them elsewhere. Then the dial's lines as
// a front-end paints and repaints them.

#include "support/memory_surface.h"

#include "engine/run_time_error.h"
#include "face/clock_face.h"
#include "face/dial.h"
#include "face/dial_lines.h"
#include "face/dial_surface.h"
#include "forms/definitions.h"
#include "support/standing_clock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

using enum face::Line;
using enum face::End;

// Its wall clock stands at a second of the day and moves on by `step` seconds after each
// reading.
struct Face final : MemorySurface, engine::WallClock, face::RegionalSettings {
    int at = 0, step = 0;
    face::ClockFace clockFace{*this, *this, *this};

    int reading() { return std::exchange(at, at + step); }
    int hour() override { return reading() / 3600; }
    int minute() override { return reading() / 60 % 60; }
    int second() override { return reading() % 60; }
    engine::LocalDateTime now() override {
        const int t = reading();
        return {2026, 12, 5, t / 3600, t / 60 % 60, t % 60};
    }
    std::string shortDate(const engine::LocalDateTime&) override { return "date"; }
    std::string longTime(const engine::LocalDateTime&) override { return "time"; }
    Face& tick(int hour, int minute, int second) {
        at = (hour * 60 + minute) * 60 + second;
        clockFace.ShowDigitalTime();
        clockFace.DrawDialMarks();
        clockFace.DrawHands();
        clockFace.ShowTitle();
        return *this;
    }
};

// A time, its readout, and the ends X2 Y2 of the second, the minute and the hour hand; 3607.5
// and 2692.5 are the middles of the edges, so that at 9:15:30 the second hand points down, the
// minute hand right and the hour hand left.
struct Moment {
    int hour, minute, second;
    std::string readout;
    std::array<float, 6> hands;
} const moments[] = {
    // clang-format off
    {21, 56, 38, "21:56:38", {0, 5048.4375, 1803.75, 0, 0, 2692.5}}, {9, 5, 3, "9:5:3", {4960.3125, 0, 5862.1875, 0, 0, 2692.5}},
    {0, 0, 0, "0:0:0", {3607.5, 0, 3607.5, 0, 3607.5, 0}}, {0, 0, 1, "0:0:1", {4058.4375, 0, 3607.5, 0, 3607.5, 0}},
    {1, 7, 8, "1:7:8", {7215, 336.5625, 6764.0625, 0, 5411.25, 0}}, {2, 22, 23, "2:22:23", {6764.0625, 5385, 7215, 5048.4375, 7215, 1346.25}},
    {5, 37, 38, "5:37:38", {0, 5048.4375, 450.9375, 5385, 5411.25, 5385}}, {8, 52, 53, "8:52:53", {450.9375, 0, 0, 336.5625, 0, 4038.75}},
    {11, 59, 7, "11:59:7", {6764.0625, 0, 3156.5625, 0, 1803.75, 0}}, {14, 8, 22, "14:8:22", {7215, 5048.4375, 7215, 336.5625, 7215, 1346.25}},
    {17, 23, 37, "17:23:37", {450.9375, 5385, 6764.0625, 5385, 5411.25, 5385}}, {20, 38, 52, "20:38:52", {0, 336.5625, 0, 5048.4375, 0, 4038.75}},
    {23, 53, 59, "23:53:59", {3156.5625, 0, 450.9375, 0, 1803.75, 0}}, {9, 15, 30, "9:15:30", {3607.5, 5385, 7215, 2692.5, 0, 2692.5}},
    {6, 45, 0, "6:45:0", {3607.5, 0, 0, 2692.5, 3607.5, 5385}}};
// clang-format on

template <class Check> void afterEachMoment(Check check) {
    for (const Moment& moment : moments) {
        SCOPED_TRACE(moment.readout);
        Face face;
        check(face.tick(10, 10, 40).tick(moment.hour, moment.minute, moment.second), moment);
    }
}

// A front-end's client area at 144 dpi, 722 x 539 pixels, that notes what it is asked to
// repaint, and which lines it draws and how wide.
struct RecordingDial final : face::DialSurface {
    std::vector<face::PixelRect> invalidated;

    RecordingDial()
        : DialSurface(forms::mainFormDefinition.lines, 144) {}
    float ScaleWidth() override { return 7215; }
    float ScaleHeight() override { return 5385; }
    void setReadout(std::string_view) override {}
    void setTitle(std::string_view) override {}
    void invalidate(const face::PixelRect& area) override { invalidated.push_back(area); }
    std::vector<std::pair<face::Line, int>> paint(const face::PixelRect& dirty) const {
        std::vector<std::pair<face::Line, int>> drawn;
        paintDial(dirty, [&](std::size_t, const face::DialLines::Painted& line) {
            drawn.emplace_back(line.line, line.width);
        });
        return drawn;
    }
};

} // namespace

TEST(Face, ReadoutWithoutLeadingZeros) {
    afterEachMoment([](const Face& face, const Moment& m) { EXPECT_EQ(face.readout, m.readout); });
}

// Hour, minute and second are each read afresh, in this order: a readout may straddle a
// change of minute.
TEST(Face, ReadoutReadsEachPartAfresh) {
    Face face;
    face.step = 1;
    EXPECT_EQ(face.tick(10, 59, 59).readout, "10:0:1");
}

TEST(Face, MarksStandAtTheMiddlesOfTheEdges) {
    // clang-format off
    const std::vector<std::array<float, 4>> marks{{3607.5, 168.28125, 3607.5, 0},
        {6989.53125, 2692.5, 7215, 2692.5}, {3607.5, 5216.71875, 3607.5, 5385}, {0, 2692.5, 225.46875, 2692.5}};
    // clang-format on
    afterEachMoment([&](const Face& face, const Moment&) {
        EXPECT_EQ(std::vector(face.lines.begin() + int(Line9), face.lines.end()), marks);
    });
}

TEST(Face, HandsRunFromTheCentreToTheBorder) {
    afterEachMoment([](const Face& face, const Moment& m) {
        for (std::size_t hand = 0; hand < 3; ++hand) // Line1, Line2, Line3
            EXPECT_EQ(face.lines[hand], (std::array<float, 4>{3607.5, 2692.5, m.hands[2 * hand],
                                                              m.hands[2 * hand + 1]}));
    });
}

// The second and minute hands take 0..60, 60 at the top as 0; the hour hand 0..23. A value
// off the dial throws once the hand's start is placed.
TEST(Face, HandsTakeTheValuesOfTheDialOnly) {
    MemorySurface surface;
    StandingClock clock;
    clock.at = {2026, 12, 5, 0, 60, 60};
    face::DrawHands(surface, clock);
    EXPECT_EQ(surface.lines[0], (std::array<float, 4>{3607.5, 2692.5, 3607.5, 0}));
    EXPECT_EQ(surface.lines[1], surface.lines[0]);
    for (const auto& [minute, hour] : {std::pair(61, 0), std::pair(-1, 0), std::pair(0, 24)}) {
        clock.at = {2026, 12, 5, hour, minute, 0};
        EXPECT_THROW(face::DrawHands(surface, clock), engine::RunTimeError)
            << minute << ' ' << hour;
    }
}

TEST(Face, TitleIsTheDateAndTimeOrAtMidnightTheDateAlone) {
    afterEachMoment([](const Face& face, const Moment& m) {
        EXPECT_EQ(face.title, (m.readout == "0:0:0" ? "date" : "date time") +
                                  std::string("     [Hozel] Ver8.1[win8.1]"));
    });
}

// The dial's lines as a front-end paints them, at 144 dpi: in the order of the definition
// (hands over marks), widths grown with the density, only those that reach into the area
// being painted.
TEST(Face, DialLinesArePaintedInOrderWhereTheyReach) {
    using Drawn = std::vector<std::pair<face::Line, int>>;
    const RecordingDial dial;
    // clang-format off
    EXPECT_EQ(dial.paint({0, 0, 722, 539}), (Drawn{{Line12, 12}, {Line11, 12}, {Line10, 12},
                                                   {Line9, 12}, {Line3, 20}, {Line2, 5}, {Line1, 2}}));
    // clang-format on
    EXPECT_EQ(dial.paint({0, 0, 15, 15}), Drawn{});
    EXPECT_EQ(dial.paint({322, 262, 326, 266}), (Drawn{{Line1, 2}})); // the second hand's end
}

// A coordinate that moves repaints the area the line leaves and the area it enters, where it
// is then drawn, round caps and the rounding of the ends to whole pixels included, and little
// more; one that stays repaints nothing, one that is not a number is ignored, and one beyond
// any screen is held at 2^24 pixels.
TEST(Face, AMovedLineRepaintsWhereItLeavesAndEnters) {
    constexpr float nan = std::numeric_limits<float>::quiet_NaN(),
                    inf = std::numeric_limits<float>::infinity();
    // The coordinate assigned; the line's ends X1 Y1 X2 Y2 in pixels then, none if not repainted.
    const std::tuple<face::Line, face::End, float, std::optional<std::array<double, 4>>> moves[] = {
        // clang-format off
        {Line3, X2, 1000, {{156, 312, 100, 408}}}, {Line3, X2, 1000, {}},
        {Line3, X1, -35, {{-3.5, 312, 100, 408}}}, {Line1, Y2, nan, {}},
        {Line10, Y1, 1e30f, {{444, 16777216, 528, 264}}},
        {Line10, Y1, -inf, {{444, -16777216, 528, 264}}},
        {Line12, X2, 3e38f, {{516, 144, 16777216, 228}}}};
    // clang-format on
    RecordingDial dial;
    for (const auto& [line, end, twips, ends] : moves) {
        SCOPED_TRACE(twips);
        const face::PixelRect before = dial.dial().painted(line).bounds;
        dial.invalidated.clear();
        dial.setEnd(line, end, twips);
        const face::DialLines::Painted& after = dial.dial().painted(line);
        ASSERT_EQ(dial.invalidated.size(), ends ? 2u : 0u);
        if (!ends)
            continue;
        EXPECT_EQ((std::array{after.x1, after.y1, after.x2, after.y2}), *ends);
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
        EXPECT_TRUE(std::ranges::any_of(dial.paint(entered),
                                        [line = line](auto d) { return d.first == line; }));
    }
}
