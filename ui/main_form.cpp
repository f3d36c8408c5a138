#include "ui/main_form.h"

#include "engine/commands.h"
#include "engine/tick.h"
#include "forms/definitions.h"
#include "ui/dialogs.h"
#include "ui/forms.h"

#include <array>
#include <chrono>
#include <string>
#include <utility>

namespace ui {

MainForm::MainForm(Forms& forms)
    : forms_(forms)
    , window_(forms.toolkit().createClockWindow(forms::mainForm, *this))
    , face_(window_->clientArea(), forms.clock(), forms.toolkit()) {}

void MainForm::Form_Load() {
    engine::AlarmState& state = forms_.alarmState();
    engine::resetAlarms(state);
    window_->setBackColor(forms::mainBackground);
    engine::noteStartSecond(state, forms_.clock());
}

// A failed step ends this tick only and goes to the fault log; the next tick starts afresh.
void MainForm::Timer1_Timer() {
    engine::TickPorts ports{forms_.clock(), forms_.beeper(), forms_, face_};
    forms_.tickStarts();
    engine::runTick(forms_.alarmState(), ports, forms_.faults(), std::chrono::steady_clock::now());
}

void MainForm::kankaku_Click() { forms_.show(forms_.form2()); }

void MainForm::happyou_Click() { forms_.show(forms_.form4()); }

void MainForm::jikokusettei_Click() { forms_.show(forms_.form1()); }

// Beeps already asked for and still waiting would sound on after the command: they go too.
void MainForm::aramuoff_Click() {
    engine::alarmOff(forms_.alarmState());
    forms_.beeper().hush();
}

void MainForm::end_Click() { forms_.end(); }

void MainForm::click(std::string_view control) {
    using Handler = void (MainForm::*)();
    static constexpr std::array<std::pair<std::string_view, Handler>, 5> handlers{{
        {"kankaku", &MainForm::kankaku_Click},
        {"happyou", &MainForm::happyou_Click},
        {"jikokusettei", &MainForm::jikokusettei_Click},
        {"aramuoff", &MainForm::aramuoff_Click},
        {"end", &MainForm::end_Click},
    }};
    for (const auto& [name, handler] : handlers)
        if (name == control)
            forms_.run("mainForm." + std::string(name) + "_Click",
                       [this, handler = handler] { (this->*handler)(); });
}

// Without this window nothing could end the program, and hidden dialogs would keep it
// running: closing it ends the program as the menu's exit does.
void MainForm::closeBox() { forms_.end(); }

void MainForm::timer() {
    if (!forms_.ended())
        Timer1_Timer();
}

} // namespace ui
