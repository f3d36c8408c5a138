#include "ui/main_form.h"

#include "engine/commands.h"
#include "engine/tick.h"
#include "forms/definitions.h"
#include "ui/dialogs.h"
#include "ui/handlers.h"
#include "ui/tick_dialogs.h"
#include "ui/windows.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <string>
#include <utility>

namespace ui {
namespace {

struct MenuCommand {
    std::string_view name;
    void (MainForm::*handler)();
};

constexpr std::array<MenuCommand, 5> menuCommands{{
    {"kankaku", &MainForm::kankaku_Click},
    {"happyou", &MainForm::happyou_Click},
    {"jikokusettei", &MainForm::jikokusettei_Click},
    {"aramuoff", &MainForm::aramuoff_Click},
    {"end", &MainForm::end_Click},
}};

// Every command of the menu bar has its handler, and every handler its command.
constexpr bool everyCommandHandled() {
    return forms::mainFormMenu.size() == menuCommands.size() &&
           std::ranges::all_of(forms::mainFormMenu, [](const forms::MenuItem& item) {
               return std::ranges::any_of(menuCommands, [&item](const MenuCommand& command) {
                   return command.name == item.name;
               });
           });
}
static_assert(everyCommandHandled(), "the menu bar and its handlers differ");

} // namespace

MainForm::MainForm(const Services& services)
    : services_(services)
    , window_(services.toolkit.createClockWindow(forms::mainFormDefinition, *this))
    , face_(window_->clientArea(), services.clock, services.toolkit) {}

MainForm::~MainForm() { services_.handlers.forget(this); }

void MainForm::Form_Load() {
    engine::resetAlarms(services_.alarms);
    window_->setBackColor(forms::mainBackground);
    engine::noteStartSecond(services_.alarms, services_.clock);
}

void MainForm::show() { window_->show(!std::exchange(shownBefore_, true)); }

// A failed step ends this tick only and goes to the fault log; the next tick starts afresh.
void MainForm::Timer1_Timer() {
    TickDialogs dialogs(services_.windows, noticeInLastTick_);
    engine::TickPorts ports{services_.clock, services_.beeper, dialogs, face_, services_.toolkit};
    engine::runTick(services_.alarms, ports, services_.handlers.faults(),
                    std::chrono::steady_clock::now());
    noticeInLastTick_ = dialogs.noticeSet();
}

void MainForm::kankaku_Click() { services_.windows.reference<Form2>().show(); }

void MainForm::happyou_Click() { services_.windows.reference<Form4>().show(); }

void MainForm::jikokusettei_Click() { services_.windows.reference<Form1>().show(); }

// Beeps already asked for and still waiting would sound on after the command: they go too.
void MainForm::aramuoff_Click() {
    engine::alarmOff(services_.alarms);
    services_.beeper.hush();
}

void MainForm::end_Click() { services_.handlers.end(); }

void MainForm::click(std::string_view control) {
    for (const auto& [name, handler] : menuCommands)
        if (name == control)
            services_.handlers.run("mainForm." + std::string(name) + "_Click", this,
                                   [this, handler = handler] { (this->*handler)(); });
}

// Without this window nothing could end the program, and hidden dialogs would keep it
// running: closing it ends the program as the menu's exit does.
void MainForm::closeBox() {
    services_.handlers.run("mainForm close box", this, [this] { services_.handlers.end(); });
}

void MainForm::timer() {
    services_.handlers.run(
        "mainForm.Timer1_Timer", this, [this] { Timer1_Timer(); }, Handlers::Repeats::Merged);
}

} // namespace ui
