// The engine's tick and its three alarms: the order of the tick's steps, and each alarm's
// cases as scripts on a simulated clock.

#include "sim.h"

#include "../cells.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

using Log = std::vector<std::string>;

// clang-format off
// A tick with everything due at once: Form1 at 10:00, all bells at 0, interval length 0.
const Log fullTick = {"read2", "read3", "read4", "read5", "read6", "read7", "read8", "read9",
    "ShowDigitalTime", "read0", "read1", "m", "DrawDialMarks", "s", "beep", // presentation: bell 1
    "s", "beep", "s", "s", "s", "beep",  // bell 2; bell 3 waits for the next second; interval
    "h", "時間ですよ！", "beep", "beep", "beep", "beep", "beep", "DrawHands", "ShowTitle"};
// clang-format on

// A failing step ends the tick there, and the next tick runs in full. The fault is written
// once, with its handler, step and kind; while it goes on failing, ten times a second for
// 150 s, it is counted, and the count written once a minute, the last one after it has
// stopped.
TEST(Alarms, Order) {
    for (const char* row : {"|30|", "ShowDigitalTime|9|2 (digital readout)",
                            "DrawDialMarks|13|5 (dial marks)", "DrawHands|29|10 (hands)"}) {
        SCOPED_TRACE(row);
        const auto cells = cellsOf(row);
        std::vector<std::string> lines; // "0 " a warning
        engine::FaultLog faults([&](engine::FaultLog::Severity severity, const std::string& line) {
            lines.push_back(std::to_string(int(severity)) + ' ' + line);
        });
        sim::World world;
        world.play("f1 10,0; f2 ,0; set; start4; start2");
        world.log.clear();
        for (int tick = 0; tick < 1900; world.log.clear(), ++tick) {
            world.failAt = tick < 1500 ? cells[0] : "";
            engine::runTick(world.state, world.ports, faults,
                            engine::FaultLog::Time{} + std::chrono::milliseconds(100 * tick));
            if (tick == 0) {
                EXPECT_EQ(world.log, Log(fullTick.begin(), fullTick.begin() + std::stol(cells[1])));
            } else if (tick == 1500) {
                EXPECT_EQ(world.log.back(), "ShowTitle");
            }
        }
        const std::string fault = "0 Timer1_Timer, step " + cells[2] + " failed",
                          again = fault + " again: RunTimeError::Overflow, ";
        const std::vector<std::string> expected{
            fault + ": RunTimeError::Overflow: Overflow", again + "600 times in the last 60 s",
            again + "600 times in the last 60 s", again + "299 times in the last 60 s"};
        EXPECT_EQ(lines, cells[2].empty() ? std::vector<std::string>{} : expected);
    }
}

// The chime counts out each pause in full after every beep, the fifth included, and none
// before the first: its counters as each beep sounds and at the end, for bounds that a
// count cut short or striding would miss, and for the program's own (about 2 s).
TEST(Alarms, TheChimeCountsEveryPause) {
    struct Ear final : engine::Beeper, engine::AssistiveRequests {
        engine::AlarmState s;
        std::string heard; // round, step (empty as 0) and spin at each beep
        void beep() override {
            char counters[48];
            std::snprintf(counters, sizeof counters, "%d %g %d|", s.chimeRound,
                          *s.chimeStep.toDouble(), s.chimeSpin);
            heard += counters;
        }
        void answer() override {}
    };
    // clang-format off
    const std::pair<engine::ChimeBounds, const char*> rows[] = {
        {{5, 250, 1234}, "1 0 0|2 251 1235|3 251 1235|4 251 1235|5 251 1235|6 251 1235|"},
        {{}, "1 0 0|2 10001 100001|3 10001 100001|4 10001 100001|5 10001 100001|6 10001 100001|"}};
    // clang-format on
    for (const auto& [bounds, heard] : rows) {
        Ear ear;
        engine::RingChime(ear.s, ear, ear, bounds);
        ear.beep(); // the counters as the chime returns
        EXPECT_EQ(ear.heard, heard);
    }
}

// What sounds ("3": a beep 3 s after the first step) and shows ("n3": the notice) as
// each alarm plays, acknowledgements included. The time alarm's rows tick once.
TEST(Alarms, Scenarios) {
    // clang-format off
    for (const char* row : {
        "interval 10 s|f2 0,10; start2; run 35|0 10 20 30",
        "interval 1.5 s never|f2 0,1.5; start2; run 20|0",
        "interval 0.5 min|f2 0.5,0; start2; run 65|0 30 60",
        "interval, minutes empty: length 0|f2 ,10; start2; run 5|0 0 0 0 0 0 0 0 0 0 0",
        "interval lowered below the count|f2 0,60; start2; run 10; f2 0,3; run 60|0",
        "interval, a clock jump is one second|f2 0,10; start2; run 3; jump 3630; run 8|0 3640",
        "interval, a text pauses matching|f2 0,10; start2; run 4; f2 -,10; run 3; f2 0,10; run 10|0 10",
        "bells 1:00 2:00 3:00|f4 1,0,2,0,3,0; start4; run 200|0 60 120 121 180 181 182",
        "bells, a field empty|f4 ,0,2,0,3,0; start4; run 10|0 0 0 1 2 3 4",
        "bell 1 at 0.5 s never|f4 0,0.5,0,3,0,5; start4; run 10|0 3 4 5 6 7",
        "bell 3 at 90.5 s is 90|f4 0,5,0,10,1,30.5; start4; run 95|0 5 10 11 90 91 92",
        "bell 3 at 91.5 s is 92|f4 0,5,0,10,1,31.5; start4; run 95|0 5 10 11 92 93 94",
        "bell 3 first ends the run|f4 0,9,0,8,0,3; start4; run 30|0 3 4 5",
        "bells skip the second of the last bell or load|f4 0,1,0,47,1,0; start4; run 65|0 1 48 49 60 61 62",
        "bells stopped by 時刻設定|f4 0,5,0,6,0,7; start4; run 3; set; run 20|0 3",
        "bells suspended, resumed uncounted|f2 0,100; f4 1,0,2,0,3,0; start4; run 30; off; run 30; start2; run 160|0 60 90 150 151 160 210 211 212",
        "a clock standing still counts once|f2 0,2; f4 0,1,0,1,0,1; start2; start4; jump 1; hold 99; jump 1; hold 99; jump 1; hold 99; jump 1; hold 99; jump 1; hold 99|0 0 1 1 2 2 3 4 4 5",
        "alarm before|at 7:29:59; f1 7,30; set; hold 1|0",
        "alarm after|at 8:00:00; f1 7,30; set; hold 1|0",
        "alarm first second|at 7:30:00; f1 7,30; set; hold 1|0 n0 0 0 0 0 0",
        "alarm last second|at 7:59:59; f1 7,30; set; hold 1|0 n0 0 0 0 0 0",
        "alarm not armed|at 7:30:00; f1 7,30; hold 1|",
        "alarm muted|at 7:30:00; f1 7,30; set; off; hold 1|0 n0",
        "alarm, minute empty|at 7:00:00; f1 7,; set; hold 1|0 n0 0 0 0 0 0",
        "alarm 7時 30分, blanks, full width|at 7:30:00; f1 \t　７時\n,３ ０分; set; hold 1|0 n0 0 0 0 0 0",
        "alarm hour beyond a double|at 0:00:00; f1 1e999,0; set; hold 1|0"}) {
        // clang-format on
        const auto cells = cellsOf(row);
        EXPECT_EQ(sim::World().play(cells[1]), cells[2]) << cells[0];
    }
}
