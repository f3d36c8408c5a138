#include "ui/dialogs.h"

#include "engine/commands.h"
#include "forms/windows.h"
#include "ui/toolkit.h"
#include "ui/windows.h"

#include <QPushButton>

namespace ui {

Form1::Form1(Windows& windows, QWidget* owner)
    : FormWindow(forms::form1, owner)
    , windows_(windows) {
    connect(&command1(), &QPushButton::clicked, this, [this] {
        RunHandler(windows_.faults(), "Form1.Command1_Click", [this] { Command1_Click(); });
    });
}

void Form1::Form_Load() { windows_.show(windows_.mainForm()); }

void Form1::Command1_Click() {
    engine::SetAlarmTime(windows_.alarmState(), windows_.clock(), windows_.beeper());
}

Form2::Form2(Windows& windows, QWidget* owner)
    : FormWindow(forms::form2, owner)
    , windows_(windows) {
    connect(&command1(), &QPushButton::clicked, this, [this] {
        RunHandler(windows_.faults(), "Form2.Command1_Click", [this] { Command1_Click(); });
    });
}

void Form2::Command1_Click() {
    engine::StartInterval(windows_.alarmState(), windows_.clock(), windows_.beeper());
}

Form4::Form4(Windows& windows, QWidget* owner)
    : FormWindow(forms::form4, owner)
    , windows_(windows) {
    connect(&command1(), &QPushButton::clicked, this, [this] {
        RunHandler(windows_.faults(), "Form4.Command1_Click", [this] { Command1_Click(); });
    });
}

void Form4::Command1_Click() {
    engine::StartPresentation(windows_.alarmState(), windows_.clock(), windows_.beeper());
}

} // namespace ui
