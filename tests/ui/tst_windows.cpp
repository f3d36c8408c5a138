// The windows' lifecycle, the start-up and the commands, over a toolkit that records what
// the handlers ask of it.

#include "recording_toolkit.h"

#include "ui/program.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

struct Session {
    RecordingToolkit toolkit;
    ui::Program program{toolkit};

    Session() { toolkit.take(); }
    engine::AlarmState& state() { return program.windows().alarmState(); }
    void tick() { toolkit.main().events.timer(); }
    void menu(std::string_view item) { toolkit.main().events.click(item); }
    void press(std::string_view dialog) { toolkit.window(dialog).events.click("Command1"); }
    void close(std::string_view window) { toolkit.window(window).events.closeBox(); }
    std::string& field(std::string_view dialog, std::string_view name) {
        return toolkit.dialog(dialog).texts[std::string(name)];
    }
    // intervalOn presOn alarmOff alarmArmed, e for empty.
    std::string flags() {
        std::string flags;
        for (const engine::Value* v :
             {&state().intervalOn, &state().presOn, &state().alarmOff, &state().alarmArmed})
            flags += (flags.empty() ? "" : " ") +
                     (v->isEmpty() ? std::string("e") : std::to_string(int(*v->toDouble())));
        return flags;
    }
};

} // namespace

// Form1 is created first; its load handler creates the main window, whose own load handler
// runs before it is shown; then Form1 is shown in front of it, unowned. Both are centred.
TEST(Windows, StartUpOrder) {
    RecordingToolkit toolkit;
    ui::Program program(toolkit);
    EXPECT_EQ(toolkit.take(), (Calls{"create Form1", "create mainForm", "backcolor 0 0 255",
                                     "show mainForm centred", "show Form1 centred"}));
    EXPECT_EQ(program.windows().alarmState().lastBeepSec, engine::Value{std::int16_t{40}});
}

// The first tick reads the fields of Form2 and Form4: both are created then, hidden; Form1
// is read only while the time alarm is armed.
TEST(Windows, TheTickCreatesTheDialogsItReadsHidden) {
    Session run;
    run.tick();
    EXPECT_EQ(run.toolkit.take(), (Calls{"create Form2", "create Form4"}));
    run.tick();
    EXPECT_EQ(run.toolkit.take(), Calls{});
    EXPECT_EQ(run.toolkit.main().readout, "10:10:40");
    EXPECT_EQ(run.toolkit.main().title, "2026/12/5 10:10:40     [Hozel] Ver8.1[win8.1]");
}

// Each menu command and each button: what it shows, with its owner, and what it sets and
// sounds. A dialog is centred the first time it is shown after its creation only.
TEST(Windows, Commands) {
    struct Row {
        const char* commands;
        Calls shows;
        int beeps, hushes;
        const char* flags;
    };
    const Row rows[] = {
        {"kankaku kankaku", {"show Form2 owned centred", "show Form2 owned"}, 0, 0, "0 0 0 e"},
        {"happyou", {"show Form4 owned centred"}, 0, 0, "0 0 0 e"},
        {"jikokusettei", {"show Form1 owned"}, 0, 0, "0 0 0 e"},
        {"aramuoff aramuoff", {}, 0, 2, "0 0 1 e"},
        {"Form1", {}, 1, 0, "0 0 0 1"},
        {"Form2", {}, 1, 0, "1 0 0 e"},
        {"Form4", {}, 1, 0, "0 1 0 e"},
        {"Form2 aramuoff Form4", {}, 2, 1, "0 1 0 e"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.commands);
        Session run;
        run.tick();
        run.toolkit.take();
        for (std::string_view rest = row.commands; !rest.empty();) {
            const std::string_view command = rest.substr(0, rest.find(' '));
            rest.remove_prefix(std::min(rest.size(), command.size() + 1));
            command.starts_with("Form") ? run.press(command) : run.menu(command);
        }
        EXPECT_EQ(run.toolkit.take(), row.shows);
        EXPECT_EQ(run.toolkit.beeps, row.beeps);
        EXPECT_EQ(run.toolkit.hushes, row.hushes);
        EXPECT_EQ(run.flags(), row.flags);
    }
}

// A dialog closed through its frame is destroyed with its texts. The next reference creates
// it afresh and runs its load handler first: hidden when the tick refers to it (Form1 only
// while armed), shown and centred when the menu does.
TEST(Windows, TheCloseBoxDestroysADialog) {
    struct Row {
        const char* dialog;
        const char* command;
        bool armed;
        Calls byTick, byMenu;
    };
    const Row rows[] = {
        {"Form2", "kankaku", false, {"create Form2"}, {"show Form2 owned centred"}},
        {"Form4", "happyou", false, {"create Form4"}, {"show Form4 owned centred"}},
        {"Form1",
         "jikokusettei",
         true,
         {"create Form1", "show mainForm"},
         {"show Form1 owned centred"}},
        {"Form1",
         "jikokusettei",
         false,
         {},
         {"create Form1", "show mainForm", "show Form1 owned centred"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.dialog);
        Session run;
        run.tick();
        if (row.armed)
            run.press("Form1");
        run.field(row.dialog, "Text1") = "7";
        run.toolkit.take();
        run.close(row.dialog);
        EXPECT_EQ(run.toolkit.take(), Calls{"destroy " + std::string(row.dialog)});
        run.tick();
        EXPECT_EQ(run.toolkit.take(), row.byTick);
        run.menu(row.command);
        EXPECT_EQ(run.toolkit.take(), row.byMenu);
        EXPECT_EQ(run.field(row.dialog, "Text1"), "");
    }
}

// 終了, and the clock window's close box, end the program: the toolkit's loop is left and
// nothing that it still delivers runs a handler.
TEST(Windows, EndEndsTheProgram) {
    for (const bool closeBox : {false, true}) {
        Session run;
        closeBox ? run.close("mainForm") : run.menu("end");
        run.tick();
        run.menu("kankaku");
        run.menu("end");
        EXPECT_EQ(run.toolkit.take(), Calls{"quit"});
        EXPECT_EQ(run.toolkit.main().readout, "");
    }
}

// Each time the time alarm begins to fire, muted here, its notice appears anew, which is
// what screen readers announce; while it goes on firing, it is only set again. The clock
// window asks for attention at every firing tick.
TEST(Windows, TheNoticeIsAnnouncedAtEveryAlarm) {
    Session run;
    run.field("Form1", "Text1") = "10";
    run.field("Form1", "Text2") = "10";
    run.press("Form1");
    run.menu("aramuoff");
    run.toolkit.take();
    for (const int hour : {10, 10, 11, 10})
        run.toolkit.at.hour = hour, run.tick();
    const std::string notice = "Form1.Label4 = 時間ですよ！", cleared = "Form1.Label4 = ";
    EXPECT_EQ(run.toolkit.take(),
              (Calls{"create Form2", "create Form4", cleared, notice, "attention", notice,
                     "attention", cleared, notice, "attention"}));
    EXPECT_EQ(run.toolkit.beeps, 1);
}

// A fault in a handler ends that handler and the program goes on; the fault is logged
// under its handler and step, as critical unless a RunTimeError.
TEST(Windows, AFailingHandlerLeavesTheProgramRunning) {
    Session run;
    run.tick();
    run.toolkit.failing = true;
    run.tick();
    run.press("Form2");
    run.menu("aramuoff");
    EXPECT_EQ(run.flags(), "0 0 1 e");
    EXPECT_EQ(run.toolkit.faults,
              (Calls{"critical Timer1_Timer, step 2 (digital readout) failed: "
                     "std::runtime_error: no clock",
                     "critical Form2.Command1_Click failed: std::runtime_error: no clock",
                     "critical mainForm.aramuoff_Click failed: std::runtime_error: no sound"}));
    run.toolkit.failing = false;
    run.toolkit.at.second = 41;
    run.tick();
    EXPECT_EQ(run.toolkit.main().readout, "10:10:41");
}
