// The windows' lifecycle, the start-up and the commands, over a toolkit that records what the
// handlers ask of it; the handlers' turns; where a window goes; which field the tick reads where.

#include "support/recording_toolkit.h"

#include "forms/definitions.h"
#include "ui/fields.h"
#include "ui/handlers.h"
#include "ui/placement.h"
#include "ui/program.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <optional>
#include <tuple>

namespace {

using Calls = std::vector<std::string>;

struct Session {
    RecordingToolkit toolkit;
    ui::Program program{toolkit, toolkit, toolkit};
    const Calls startUp = toolkit.take(); // the calls of the start-up

    engine::AlarmState& state() { return program.alarmState(); }
};

// What the user does, as the calls that it makes start with.
struct Step {
    std::string label;
    std::function<void(RecordingToolkit&)> act;
};

Step tick() {
    return {"tick", [](RecordingToolkit& t) { t.main().events.timer(); }};
}
Step menu(const std::string& command) {
    return {command, [command](RecordingToolkit& t) { t.main().events.click(command); }};
}
Step button(const std::string& form) {
    return {form, [form](RecordingToolkit& t) { t.window(form).events.click("Command1"); }};
}
Step closeBox(const std::string& window) {
    return {"close " + window,
            [window](RecordingToolkit& t) { t.window(window).events.closeBox(); }};
}

// Each step's label, followed by the calls it made.
Calls play(Session& session, const std::vector<Step>& steps) {
    session.toolkit.take();
    for (const Step& step : steps) {
        session.toolkit.record(step.label);
        step.act(session.toolkit);
    }
    return session.toolkit.take();
}

// The alarm state's flags (interval on, presentation on, alarms off, alarm armed); nullopt while
// empty.
using Flags = std::array<std::optional<int>, 4>;

Flags flagsOf(const engine::AlarmState& state) {
    const auto flag = [](const engine::Value& v) {
        return v.isEmpty() ? std::nullopt : std::optional<int>(int(*v.toDouble()));
    };
    return {flag(state.intervalOn), flag(state.presOn), flag(state.alarmOff),
            flag(state.alarmArmed)};
}

} // namespace

// Form1 is created first; its load handler creates the main window, whose own load handler runs
// before it is shown; then Form1 is shown in front of it, unowned. Both are centred. The main
// window's load notes the start second.
TEST(Windows, StartUp) {
    Session run;
    EXPECT_EQ(run.startUp, (Calls{"create Form1", "create mainForm", "blue",
                                  "show mainForm centred", "show Form1 centred"}));
    EXPECT_EQ(run.state().lastBeepSec, engine::Value{std::int16_t{40}});
}

// 終了, and the clock window's close box, end the program: the toolkit's loop is left and
// nothing that it still delivers runs a handler (a tick would create the dialogs).
TEST(Windows, TheEndRunsNoMoreHandlers) {
    for (const Step& end : {menu("end"), closeBox("mainForm")}) {
        Session run;
        EXPECT_EQ(play(run, {end, tick(), menu("kankaku"), menu("end")}),
                  (Calls{end.label, "quit", "tick", "kankaku", "end"}));
    }
}

// Each menu command, button and close box after the first tick: what it shows, with its owner,
// what it sets, beeps and hushes. A dialog is centred the first time it is shown after its
// creation only. A dialog closed through its frame is destroyed (its texts with it: the toolkit
// has no way to write a field). The next reference creates it afresh and runs its load handler
// first: hidden when the tick refers to it (Form1 only while armed, by its button), shown and
// centred when the menu does.
TEST(Windows, CommandsAndTheCloseBox) {
    // What is done, the calls it makes, the beeps and hushes, the flags then.
    using Row = std::tuple<const char*, std::vector<Step>, Calls, int, int, Flags>;
    const Flags idle{0, 0, 0, std::nullopt}, off{0, 0, 1, std::nullopt};
    const auto close = closeBox;
    // clang-format off
    const Row rows[] = {
        {"the interval dialog, twice", {menu("kankaku"), menu("kankaku")},
         {"kankaku", "show Form2 owned centred", "kankaku", "show Form2 owned"}, 0, 0, idle},
        {"the presentation dialog", {menu("happyou")}, {"happyou", "show Form4 owned centred"}, 0, 0, idle},
        {"the alarm time dialog, shown at start-up", {menu("jikokusettei")}, {"jikokusettei", "show Form1 owned"}, 0, 0, idle},
        {"the alarms off, twice", {menu("aramuoff"), menu("aramuoff")}, {"aramuoff", "aramuoff"}, 0, 2, off},
        {"時刻設定", {button("Form1")}, {"Form1"}, 1, 0, {0, 0, 0, 1}},
        {"the interval's START", {button("Form2")}, {"Form2"}, 1, 0, {1, 0, 0, std::nullopt}},
        {"the presentation's START", {button("Form4")}, {"Form4"}, 1, 0, {0, 1, 0, std::nullopt}},
        {"the alarms off between two starts", {button("Form2"), menu("aramuoff"), button("Form4")},
         {"Form2", "aramuoff", "Form4"}, 2, 1, {0, 1, 0, std::nullopt}},
        {"the interval dialog closed, read, shown", {close("Form2"), tick(), menu("kankaku")},
         {"close Form2", "destroy Form2", "tick", "create Form2", "kankaku", "show Form2 owned centred"}, 0, 0, idle},
        {"the presentation dialog closed, read, shown", {close("Form4"), tick(), menu("happyou")},
         {"close Form4", "destroy Form4", "tick", "create Form4", "happyou", "show Form4 owned centred"}, 0, 0, idle},
        {"the alarm time dialog closed while armed, read, shown", {button("Form1"), close("Form1"), tick(), menu("jikokusettei")},
         {"Form1", "close Form1", "destroy Form1", "tick", "create Form1", "show mainForm", "jikokusettei",
          "show Form1 owned centred"}, 1, 0, {0, 0, 0, 1}},
        {"the alarm time dialog closed, not read, shown", {close("Form1"), tick(), menu("jikokusettei")},
         {"close Form1", "destroy Form1", "tick", "jikokusettei", "create Form1", "show mainForm",
          "show Form1 owned centred"}, 0, 0, idle},
    };
    // clang-format on
    for (const auto& [name, steps, calls, beeps, hushes, flags] : rows) {
        SCOPED_TRACE(name);
        Session run;
        play(run, {tick()});
        EXPECT_EQ(play(run, steps), calls);
        EXPECT_EQ(std::pair(run.toolkit.beeps, run.toolkit.hushes), std::pair(beeps, hushes));
        EXPECT_EQ(flagsOf(run.state()), flags);
    }
}

// Each time the time alarm begins to fire, muted here, its notice appears anew, which is what
// screen readers announce, and the clock window asks for attention; while it goes on firing,
// the notice is only set again.
TEST(Windows, TheNoticeIsAnnouncedAtEveryAlarm) {
    Session run;
    run.toolkit.dialog("Form1").texts["Text1"] = "10";
    play(run, {button("Form1"), menu("aramuoff")});
    for (const int hour : {10, 10, 11, 10})
        run.toolkit.at.hour = hour, run.toolkit.main().events.timer();
    const std::string notice = "Form1.Label4 = 時間ですよ！";
    EXPECT_EQ(run.toolkit.take(),
              (Calls{"create Form2", "create Form4", "Form1.Label4 = ", notice, "attention", notice,
                     "Form1.Label4 = ", notice, "attention"}));
    EXPECT_EQ(run.toolkit.beeps, 1);
}

// A fault in a handler ends that handler and the program goes on; the fault is logged under its
// handler and step, as critical unless a RunTimeError.
TEST(Windows, AFailingHandlerLeavesTheProgramRunning) {
    Session run;
    play(run, {tick()});
    run.toolkit.failing = true;
    play(run, {tick(), button("Form2"), menu("aramuoff")});
    EXPECT_EQ(flagsOf(run.state()), (Flags{0, 0, 1, std::nullopt}));
    EXPECT_EQ(run.toolkit.faults,
              (Calls{"critical Timer1_Timer, step 2 (digital readout) failed: "
                     "std::runtime_error: no clock",
                     "critical Form2.Command1_Click failed: std::runtime_error: no clock",
                     "critical mainForm.aramuoff_Click failed: std::runtime_error: no sound"}));
    run.toolkit.failing = false;
    run.toolkit.at.second = 41;
    play(run, {tick()});
    EXPECT_EQ(run.toolkit.main().readout, "10:10:41");
}

// A handler asked for while another runs (what a screen reader asks during the chime may press a
// command) runs once that one has returned, in the order asked; timer events that fall due
// meanwhile make one tick; a waiting handler of a window that goes, goes with it; one that fails
// does not keep the next from running; none runs once the program has ended.
TEST(Handlers, NeverNest) {
    RecordingToolkit toolkit;
    ui::Handlers handlers(toolkit);
    Calls ran;
    const int dialog = 0, mainForm = 0;
    const auto note = [&ran](const std::string& what) {
        return [&ran, what] { ran.push_back(what); };
    };
    handlers.run("outer", &mainForm, [&] {
        ran.push_back("outer begins");
        handlers.run("command", &mainForm, note("command"));
        for (int i = 0; i < 3; ++i)
            handlers.run("tick", &mainForm, note("tick"), ui::Handlers::Repeats::Merged);
        handlers.run("button", &dialog, note("button"));
        handlers.run("failing", &mainForm, [] { throw std::runtime_error("failed"); });
        handlers.run("second command", &mainForm, note("second command"));
        handlers.forget(&dialog);
        ran.push_back("outer ends");
    });
    EXPECT_EQ(ran, (Calls{"outer begins", "outer ends", "command", "tick", "second command"}));
    EXPECT_EQ(toolkit.faults, (Calls{"critical failing failed: std::runtime_error: failed"}));
    ran.clear();
    handlers.run("ending", &mainForm, [&] {
        handlers.run("after the end", &mainForm, note("after the end"));
        handlers.end();
    });
    handlers.run("later", &mainForm, note("later"));
    EXPECT_EQ(ran, Calls{});
    EXPECT_EQ(toolkit.take(), Calls{"quit"});
}

// A window is centred on the work area with its frame; on a screen too small for it, the frame's
// top-left corner stays on the screen, so that the title bar can still be reached; a scaled frame
// clamped so stays on the screen's whole pixels.
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

// As the user reads the dialogs: each field that the tick reads sits left of the label that
// names its unit, and the fields of a dialog follow in reading order.
TEST(Fields, EachFieldSitsLeftOfItsUnit) {
    // What the engine makes of each field, in the order of engine::Field.
    const std::string_view units[] = {"時", "分", "分", "秒", "分", "秒", "分", "秒", "分", "秒"};
    const auto readingOrder = [](const forms::Rect& r) { return r.top / 240 * 100000 + r.left; };
    for (const ui::FieldControl& field : ui::fieldControls) {
        SCOPED_TRACE(std::string(field.form->name) + "." + std::string(field.textBox));
        const forms::Rect box = forms::findControl(*field.form, field.textBox)->twips;
        const forms::Control* unit = nullptr;
        for (const forms::Control& label : field.form->controls)
            if (label.kind == forms::Kind::Label && label.twips.left > box.left + box.width &&
                label.twips.top < box.top + box.height &&
                box.top < label.twips.top + label.twips.height &&
                (!unit || label.twips.left < unit->twips.left))
                unit = &label;
        ASSERT_NE(unit, nullptr);
        EXPECT_EQ(unit->caption, units[int(field.field)]);
        const auto next = engine::Field(int(field.field) + 1);
        if (int(next) < int(std::size(units)) && ui::fieldControl(next).form == field.form) {
            const auto* nextBox = forms::findControl(*field.form, ui::fieldControl(next).textBox);
            EXPECT_LT(readingOrder(box), readingOrder(nextBox->twips));
        }
    }
}
