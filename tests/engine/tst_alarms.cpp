// The engine's tick and its three alarms: the order of the tick's steps and what a failing
// one ends, the chime, and each alarm's cases as scenarios on a simulated clock.

#include "sim.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace std::chrono_literals;
using namespace sim;
using enum Alarm;
using enum engine::Field;

namespace {

// A tick with everything due at once: Form1 at 10:00, all bells at 0, interval length 0.
// clang-format off
const Events fullTick{
    read(Form2_Text3), read(Form2_Text1), read(Form4_Text1), read(Form4_Text2), read(Form4_Text3),
    read(Form4_Text4), read(Form4_Text5), read(Form4_Text6), step("ShowDigitalTime"),
    read(Form1_Text1), read(Form1_Text2), step("DrawDialMarks"),
    beep(0), beep(0), beep(0), // bells 1 and 2, the interval; bell 3 waits for a second of its own
    notice(0), beep(0), beep(0), beep(0), beep(0), beep(0), step("DrawHands"), step("ShowTitle")};
// clang-format on

// Ticks ten times a second, on a clock that moves at each reading, with the face step
// `failing` throwing; keeps the fault log's lines, "0 " a warning.
struct Ticking : World {
    std::vector<std::string> lines;
    engine::FaultLog faults{[this](engine::FaultLog::Severity severity, const std::string& line) {
        lines.push_back(std::to_string(int(severity)) + ' ' + line);
    }};
    int ticks = 0;

    Ticking() {
        play({fill(Time, {"10", "0"}), fill(Interval, {"", "0"}), start(Time), start(Presentation),
              start(Interval), movingAtEachReading(1ms)});
    }
    const Events& tick(int count = 1, const std::string& failing = {}) {
        for (failAt = failing; count-- > 0; ++ticks) {
            log.clear();
            engine::runTick(state, ports, faults, engine::FaultLog::Time{} + 100ms * ticks);
        }
        return log;
    }
};

// The failing step, the events of fullTick that ran (its own included), where it failed.
const std::tuple<std::string, std::size_t, std::string> failing[] = {
    {"ShowDigitalTime", 9, "2 (digital readout)"},
    {"DrawDialMarks", 12, "5 (dial marks)"},
    {"DrawHands", 22, "10 (hands)"}};

// A scenario's name, its steps and what it heard: a beep 3 s after the first step is beep(3).
using Scenario = std::tuple<std::string, std::vector<Step>, Events>;

void expectHeard(const std::vector<Scenario>& scenarios) {
    for (const auto& [name, steps, heard] : scenarios)
        EXPECT_EQ(World().play(steps), heard) << name;
}

// The usual steps of a row: an alarm's dialog filled, its command given, the ticks that follow.
std::vector<Step> started(Alarm alarm, std::vector<std::string> texts, Step then) {
    return {fill(alarm, std::move(texts)), start(alarm), std::move(then)};
}

} // namespace

// On a clock that moves a second at each reading, the bells, read first, ring at 1, 2 and 4 s,
// and only then does the interval read a second of its own and count.
TEST(Tick, StepsRunInTheirOrder) {
    EXPECT_EQ(Ticking().tick(), fullTick);
    EXPECT_EQ(World().play({fill(Interval, {"", "0"}), start(Presentation), start(Interval),
                            movingAtEachReading(1s), hold(1)}),
              beeps({0, 0, 1, 2, 4}));
}

// A failing step ends its tick there; the next tick runs in full, even after 150 s of
// failing ones.
TEST(Tick, AFailingStepEndsItsTick) {
    for (const auto& [failAt, ran, where] : failing) {
        Ticking ticking;
        EXPECT_EQ(ticking.tick(1, failAt), Events(fullTick.begin(), fullTick.begin() + ran));
        ticking.tick(1499, failAt);
        EXPECT_EQ(ticking.tick().back(), step("ShowTitle")) << failAt;
    }
}

// A fault is written once, with its handler, step and kind; while it goes on failing, ten
// times a second for 150 s, it is counted, and the count written once a minute, the last one
// after it has stopped. A tick that does not fail writes nothing.
TEST(Tick, AFaultIsWrittenOnceThenCountedEachMinute) {
    for (const auto& [failAt, ran, where] : failing) {
        Ticking ticking;
        ticking.tick(1500, failAt), ticking.tick(400);
        const std::string fault = "0 Timer1_Timer, step " + where + " failed",
                          again = fault + " again: RunTimeError::Overflow, ";
        // clang-format off
        EXPECT_EQ(ticking.lines, (std::vector<std::string>{fault + ": RunTimeError::Overflow: Overflow",
            again + "600 times in the last 60 s", again + "600 times in the last 60 s", again + "299 times in the last 60 s"}));
        // clang-format on
    }
    Ticking ticking;
    ticking.tick(1900);
    EXPECT_EQ(ticking.lines, std::vector<std::string>{});
}

// What the chime does, in turn: a beep (true) or an answer to assistive technologies, with its
// counters (round, step with empty as 0, spin) at that moment.
using ChimeEvent = std::tuple<bool, int, double, int>;

std::vector<ChimeEvent> chime(const engine::ChimeBounds& bounds) {
    struct Ear final : engine::Beeper, engine::AssistiveRequests {
        engine::AlarmState s;
        std::vector<ChimeEvent> heard;
        void note(bool beep) {
            heard.push_back({beep, s.chimeRound, *s.chimeStep.toDouble(), s.chimeSpin});
        }
        void beep() override { note(true); }
        void answer() override { note(false); }
    } ear;
    engine::RingChime(ear.s, ear, ear, bounds);
    ear.note(true); // the counters as the chime returns, as if it beeped again
    return ear.heard;
}

// The chime counts out each pause in full after every beep, the fifth included, and none before
// the first: its counters as each beep sounds and at the end, for bounds that a count cut short
// or striding would miss, and for the program's own (about 2 s).
TEST(Chime, CountsEveryPause) {
    const auto beeps = [](const engine::ChimeBounds& bounds) {
        std::vector<ChimeEvent> heard = chime(bounds);
        std::erase_if(heard, [](const ChimeEvent& e) { return !std::get<0>(e); });
        return heard;
    };
    const auto after = [](int step, int spin) {
        std::vector<ChimeEvent> heard{{true, 1, 0, 0}};
        for (int round = 2; round <= 6; ++round)
            heard.push_back({true, round, double(step), spin});
        return heard;
    };
    EXPECT_EQ(beeps({5, 250, 1234}), after(251, 1235));
    EXPECT_EQ(beeps({}), after(10001, 100001));
}

// Every few counted steps of each pause, and only within the pauses, the chime lets assistive
// technologies be answered.
TEST(Chime, AnswersBetweenItsCountedSteps) {
    EXPECT_EQ(chime({2, 10, 3, 4}), (std::vector<ChimeEvent>{{true, 1, 0, 0},
                                                             {false, 1, 5, 4},
                                                             {false, 1, 9, 4},
                                                             {true, 2, 11, 4},
                                                             {false, 2, 5, 4},
                                                             {false, 2, 9, 4},
                                                             {true, 3, 11, 4}}));
}

// clang-format off
// Each START and 時刻設定 beeps at once.
TEST(Alarms, TheIntervalBeepsEachTimeItsLengthIsCounted) {
    expectHeard({
        {"10 s", started(Interval, {"0", "10"}, run(35s)), beeps({0, 10, 20, 30})},
        {"1.5 s never", started(Interval, {"0", "1.5"}, run(20s)), beeps({0})},
        {"0.5 min", started(Interval, {"0.5", "0"}, run(65s)), beeps({0, 30, 60})},
        {"minutes empty: length 0", started(Interval, {"", "10"}, run(5s)), beeps({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0})},
        {"lowered below the count", {fill(Interval, {"0", "60"}), start(Interval), run(10s), fill(Interval, {"0", "3"}), run(60s)}, beeps({0})},
        {"a text pauses matching", {fill(Interval, {"0", "10"}), start(Interval), run(4s), fill(Interval, {"-", "10"}), run(3s),
                                    fill(Interval, {"0", "10"}), run(10s)}, beeps({0, 10})}});
}

TEST(Alarms, TheBellsRingOnceTwiceAndThreeTimes) {
    expectHeard({
        {"1:00 2:00 3:00", started(Presentation, {"1", "0", "2", "0", "3", "0"}, run(200s)), beeps({0, 60, 120, 121, 180, 181, 182})},
        {"a field empty", started(Presentation, {"", "0", "2", "0", "3", "0"}, run(10s)), beeps({0, 0, 0, 1, 2, 3, 4})},
        {"bell 1 at 0.5 s never", started(Presentation, {"0", "0.5", "0", "3", "0", "5"}, run(10s)), beeps({0, 3, 4, 5, 6, 7})},
        {"bell 3 at 90.5 s is 90", started(Presentation, {"0", "5", "0", "10", "1", "30.5"}, run(95s)), beeps({0, 5, 10, 11, 90, 91, 92})},
        {"bell 3 at 91.5 s is 92", started(Presentation, {"0", "5", "0", "10", "1", "31.5"}, run(95s)), beeps({0, 5, 10, 11, 92, 93, 94})},
        {"bell 3 first ends the run", started(Presentation, {"0", "9", "0", "8", "0", "3"}, run(30s)), beeps({0, 3, 4, 5})},
        {"the second of the last bell or load skipped", started(Presentation, {"0", "1", "0", "47", "1", "0"}, run(65s)), beeps({0, 1, 48, 49, 60, 61, 62})},
        {"started again, all ring again", {fill(Presentation, {"0", "1", "0", "2", "0", "4"}), start(Presentation), run(10s), start(Presentation),
                                           run(10s)}, beeps({0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 15, 16})},
        {"stopped by 時刻設定", {fill(Presentation, {"0", "5", "0", "6", "0", "7"}), start(Presentation), run(3s), start(Time), run(20s)}, beeps({0, 3})},
        {"suspended, resumed uncounted", {fill(Interval, {"0", "100"}), fill(Presentation, {"1", "0", "2", "0", "3", "0"}), start(Presentation), run(30s),
                                          off(), run(30s), start(Interval), run(160s)}, beeps({0, 60, 90, 150, 151, 160, 210, 211, 212})}});
}

// The counts go up at the first tick in a second other than the last one read, however far
// the clock jumped; each bell reads the second afresh, and bell 3 waits for a second other
// than the one read after bell 2's beep.
TEST(Alarms, CountsGoUpOnceInEachNewSecond) {
    expectHeard({
        {"a clock jump is one second", {fill(Interval, {"0", "10"}), start(Interval), run(3s), jump(3630s), run(8s)}, beeps({0, 3640})},
        {"a clock standing still counts once", {fill(Interval, {"0", "2"}), fill(Presentation, {"0", "1", "0", "1", "0", "1"}), start(Interval),
         start(Presentation), jump(1s), hold(99), jump(1s), hold(99), jump(1s), hold(99), jump(1s), hold(99), jump(1s), hold(99)},
         beeps({0, 0, 1, 1, 2, 2, 3, 4, 4, 5})},
        {"the interval notes a second read after counting", {fill(Interval, {"0", "1"}), start(Interval), movingAtEachReading(1s), hold(3)},
         beeps({0, 3, 5})},
        {"bell 3 after bell 2 on a moving clock", {fill(Presentation, {"0", "9", "0", "0", "0", "0"}), start(Presentation),
                                                   movingAtEachReading(500ms), hold(1)}, beeps({0, 1})},
        {"bell 3 in the tick of bell 2 when the second turns", {fill(Presentation, {"0", "9", "0", "0", "0", "0"}), start(Presentation),
                                                                movingAtEachReading(1s), hold(1)}, beeps({0, 2, 4})}});
}

// From the alarm minute to the end of the hour the notice shows and, unless muted, the
// chime plays; each row ticks once.
TEST(Alarms, TheTimeAlarmShowsTheNoticeAndChimes) {
    const Events chimed{beep(0), notice(0), beep(0), beep(0), beep(0), beep(0), beep(0)};
    expectHeard({
        {"before", {at(7, 29, 59), fill(Time, {"7", "30"}), start(Time), hold(1)}, beeps({0})},
        {"after", {at(8, 0, 0), fill(Time, {"7", "30"}), start(Time), hold(1)}, beeps({0})},
        {"first second", {at(7, 30, 0), fill(Time, {"7", "30"}), start(Time), hold(1)}, chimed},
        {"last second", {at(7, 59, 59), fill(Time, {"7", "30"}), start(Time), hold(1)}, chimed},
        {"not armed", {at(7, 30, 0), fill(Time, {"7", "30"}), hold(1)}, {}},
        {"muted", {at(7, 30, 0), fill(Time, {"7", "30"}), start(Time), off(), hold(1)}, {beep(0), notice(0)}},
        {"minute empty", {at(7, 0, 0), fill(Time, {"7", ""}), start(Time), hold(1)}, chimed},
        {"7時 30分, blanks, full width", {at(7, 30, 0), fill(Time, {"\t　７時\n", "３ ０分"}), start(Time), hold(1)}, chimed},
        {"hour beyond a double", {at(0, 0, 0), fill(Time, {"1e999", "0"}), start(Time), hold(1)}, beeps({0})}});
}
// clang-format on
