// The windows' lifecycle, the start-up and the commands, over a toolkit that records what
// the handlers ask of it.

#include "recording_toolkit.h"

#include "../cells.h"
#include "ui/placement.h"
#include "ui/program.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace {

struct Session {
    RecordingToolkit toolkit;
    ui::Program program{toolkit, toolkit, toolkit};
    const std::string startUp = toolkit.take(); // the calls of the start-up

    engine::AlarmState& state() { return program.forms().alarmState(); }
    void tick() { toolkit.main().events.timer(); }
    // Plays steps separated by ';' and returns each step, followed by the calls it made:
    // "tick", "close " and a window's name for its close box, a dialog's name for its button,
    // and a menu command by its name.
    std::string play(const std::string& steps) {
        toolkit.take();
        std::istringstream in(steps);
        for (std::string step; std::getline(in >> std::ws, step, ';');) {
            toolkit.record(step);
            step == "tick"               ? tick()
            : step.starts_with("close ") ? toolkit.window(step.substr(6)).events.closeBox()
            : step.starts_with("Form")   ? toolkit.window(step).events.click("Command1")
                                         : toolkit.main().events.click(step);
        }
        return toolkit.take();
    }
    // intervalOn presOn alarmOff alarmArmed, e for empty.
    std::string flags() {
        std::string flags;
        for (const engine::Value* v :
             {&state().intervalOn, &state().presOn, &state().alarmOff, &state().alarmArmed})
            flags.append(v->isEmpty() ? "e" : std::to_string(int(*v->toDouble()))).append(" ");
        return flags;
    }
};

} // namespace

// Form1 is created first; its load handler creates the main window, whose own load handler
// runs before it is shown; then Form1 is shown in front of it, unowned. Both are centred.
// The first tick creates the dialogs whose fields it reads, hidden; Form1 is read only
// while the time alarm is armed. 終了, and the clock window's close box, end the program: the
// toolkit's loop is left and nothing that it still delivers runs a handler (a tick would
// create the dialogs).
TEST(Forms, StartUpTheFirstTickAndTheEnd) {
    Session run;
    EXPECT_EQ(run.startUp,
              "create Form1, create mainForm, blue, show mainForm centred, show Form1 centred");
    EXPECT_EQ(run.state().lastBeepSec, engine::Value{std::int16_t{40}});
    EXPECT_EQ(run.play("tick; tick"), "tick, create Form2, create Form4, tick");
    for (const std::string end : {"end", "close mainForm"})
        EXPECT_EQ(Session().play(end + "; tick; kankaku; end"), end + ", quit, tick, kankaku, end");
}

// Each menu command, button and close box after the first tick: what it shows, with its owner,
// what it sets, beeps and hushes. A dialog is centred the first time it is shown after its
// creation only. A dialog closed through its frame is destroyed (its texts with it: the
// toolkit has no way to write a field). The next reference creates it afresh and runs its load
// handler first: hidden when the tick refers to it (Form1 only while armed, by its button),
// shown and centred when the menu does.
TEST(Forms, CommandsAndTheCloseBox) {
    // clang-format off
    for (const char* row : {
            "kankaku; kankaku|kankaku, show Form2 owned centred, kankaku, show Form2 owned|0 0|0 0 0 e ",
            "happyou|happyou, show Form4 owned centred|0 0|0 0 0 e ",
            "jikokusettei|jikokusettei, show Form1 owned|0 0|0 0 0 e ",
            "aramuoff; aramuoff|aramuoff, aramuoff|0 2|0 0 1 e ", "Form1|Form1|1 0|0 0 0 1 ",
            "Form2|Form2|1 0|1 0 0 e ", "Form4|Form4|1 0|0 1 0 e ",
            "Form2; aramuoff; Form4|Form2, aramuoff, Form4|2 1|0 1 0 e ",
            "close Form2; tick; kankaku|close Form2, destroy Form2, tick, create Form2, kankaku, "
                "show Form2 owned centred|0 0|0 0 0 e ",
            "close Form4; tick; happyou|close Form4, destroy Form4, tick, create Form4, happyou, "
                "show Form4 owned centred|0 0|0 0 0 e ",
            "Form1; close Form1; tick; jikokusettei|Form1, close Form1, destroy Form1, tick, "
                "create Form1, show mainForm, jikokusettei, show Form1 owned centred|1 0|0 0 0 1 ",
            "close Form1; tick; jikokusettei|close Form1, destroy Form1, tick, jikokusettei, "
                "create Form1, show mainForm, show Form1 owned centred|0 0|0 0 0 e "}) {
        // clang-format on
        SCOPED_TRACE(row);
        const auto cells = cellsOf(row);
        Session run;
        run.tick();
        EXPECT_EQ(run.play(cells[0]), cells[1]);
        EXPECT_EQ(std::to_string(run.toolkit.beeps) + " " + std::to_string(run.toolkit.hushes),
                  cells[2]);
        EXPECT_EQ(run.flags(), cells[3]);
    }
}

// Each time the time alarm begins to fire, muted here, its notice appears anew, which is
// what screen readers announce, and the clock window asks for attention; while it goes on
// firing, the notice is only set again.
TEST(Forms, TheNoticeIsAnnouncedAtEveryAlarm) {
    Session run;
    run.toolkit.dialog("Form1").texts["Text1"] = "10";
    run.play("Form1; aramuoff");
    for (const int hour : {10, 10, 11, 10})
        run.toolkit.at.hour = hour, run.tick();
    const std::string notice = "Form1.Label4 = 時間ですよ！",
                      again = "Form1.Label4 = , " + notice + ", attention";
    EXPECT_EQ(run.toolkit.take(),
              "create Form2, create Form4, " + again + ", " + notice + ", " + again);
    EXPECT_EQ(run.toolkit.beeps, 1);
}

// A fault in a handler ends that handler and the program goes on; the fault is logged
// under its handler and step, as critical unless a RunTimeError.
TEST(Forms, AFailingHandlerLeavesTheProgramRunning) {
    Session run;
    run.tick();
    run.toolkit.failing = true;
    run.tick();
    run.play("Form2; aramuoff");
    EXPECT_EQ(run.flags(), "0 0 1 e ");
    EXPECT_EQ(run.toolkit.faults,
              (std::vector<std::string>{
                  "critical Timer1_Timer, step 2 (digital readout) failed: "
                  "std::runtime_error: no clock",
                  "critical Form2.Command1_Click failed: std::runtime_error: no clock",
                  "critical mainForm.aramuoff_Click failed: std::runtime_error: no sound"}));
    run.toolkit.failing = false;
    run.toolkit.at.second = 41;
    run.tick();
    EXPECT_EQ(run.toolkit.main().readout, "10:10:41");
}

// A window is centred on the work area with its frame; on a screen too small for it, the
// frame's top-left corner stays on the screen, so that the title bar can still be reached;
// a scaled frame clamped so stays on the screen's whole pixels.
TEST(Placement, CentredByTheFrameWithTheTitleBarOnTheScreen) {
    using Row = std::tuple<const char*, int, int, ui::FrameMargins, forms::Rect, ui::Position>;
    for (const auto& [name, width, height, frame, area, expected] : {
             Row{"no frame", 480, 360, {}, {0, 0, 1280, 1024}, {400, 332}},
             Row{"a title bar of 30", 480, 360, {4, 30, 4, 4}, {0, 0, 1280, 1024}, {400, 345}},
             Row{"below a panel, a half pixel lower", 480, 360, {}, {0, 27, 1280, 997}, {400, 346}},
             Row{"on a second monitor", 480, 360, {}, {1280, 0, 1920, 1080}, {2000, 360}},
             Row{"taller than the screen", 481, 400, {1, 29, 1, 1}, {0, 0, 640, 360}, {80, 29}},
             Row{"larger, off the corner", 400, 300, {5, 25, 5, 5}, {100, 50, 300, 200}, {105, 75}},
             Row{"a scaled frame", 480, 360, {2.5, 20.5, 2.5, 2.5}, {0, 0, 1280, 1024}, {400, 341}},
             Row{"scaled, clamped", 480, 360, {2.5, 20.5, 2.5, 2.5}, {0, 0, 400, 300}, {3, 21}},
         }) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ui::centredPosition(width, height, frame, area), expected);
    }
}
