#include "ui/main_form.h"

#include "engine/commands.h"
#include "engine/tick.h"
#include "forms/windows.h"
#include "ui/dial_widget.h"
#include "ui/dialogs.h"
#include "ui/toolkit.h"
#include "ui/windows.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenuBar>

namespace ui {

MainForm::MainForm(Windows& windows)
    : windows_(windows)
    , dial_(new DialWidget(this))
    , face_(*dial_, windows.clock(), QLocale::system()) {
    const forms::Form& def = forms::mainForm;
    setObjectName(qstr(def.name));
    setWindowTitle(qstr(def.caption));
    setWindowIcon(clockIcon());
    setCentralWidget(dial_);

    using Handler = void (MainForm::*)();
    constexpr std::array<std::pair<std::string_view, Handler>, 5> handlers{{
        {"kankaku", &MainForm::kankaku_Click},
        {"happyou", &MainForm::happyou_Click},
        {"jikokusettei", &MainForm::jikokusettei_Click},
        {"aramuoff", &MainForm::aramuoff_Click},
        {"end", &MainForm::end_Click},
    }};
    for (const forms::MenuItem& item : def.menu) {
        QAction* action = menuBar()->addAction(qstr(item.caption));
        action->setObjectName(qstr(item.name));
        for (const auto& [name, handler] : handlers)
            if (name == item.name)
                connect(action, &QAction::triggered, this,
                        [this, handler = handler] { RunHandler([&] { (this->*handler)(); }); });
    }

    // The client area below the menu bar has the size of the definition. Narrower than its
    // bar, the window would fold the last commands into an extension button, and screen
    // readers would still report them as showing.
    resize(pixels(def.clientWidth), pixels(def.clientHeight) + menuBar()->sizeHint().height());
    setMinimumWidth(menuBar()->sizeHint().width());

    Timer1.setObjectName(QStringLiteral("Timer1"));
    Timer1.setInterval(def.timerIntervalMs);
    connect(&Timer1, &QTimer::timeout, this, &MainForm::Timer1_Timer);
    Timer1.start();
}

MainForm::~MainForm() = default;

void MainForm::Form_Load() {
    engine::AlarmState& state = windows_.alarmState();
    engine::ResetAlarms(state);
    dial_->setBackColor(qcolor(forms::mainBackground));
    engine::NoteStartSecond(state, windows_.clock());
}

void MainForm::Timer1_Timer() {
    // A failed step ends this tick only; the next one starts afresh.
    engine::TickPorts ports{windows_.clock(), windows_.beeper(), windows_, face_};
    windows_.tickStarts();
    RunHandler([&] { engine::Timer1_Timer(windows_.alarmState(), ports); });
}

void MainForm::kankaku_Click() { windows_.show(windows_.form2()); }

void MainForm::happyou_Click() { windows_.show(windows_.form4()); }

void MainForm::jikokusettei_Click() { windows_.show(windows_.form1()); }

// Beeps already asked for and still waiting would sound on after the command: they go too.
void MainForm::aramuoff_Click() {
    engine::AlarmOff(windows_.alarmState());
    windows_.beeper().hush();
}

void MainForm::end_Click() { windows_.End(); }

void MainForm::closeEvent(QCloseEvent* event) {
    // Without this window nothing could end the program, and hidden dialogs would keep
    // it running: closing it ends the program as the menu's exit does.
    event->accept();
    windows_.End();
}

} // namespace ui
