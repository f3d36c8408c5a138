#include "ui/dialogs.h"

#include "engine/commands.h"
#include "forms/definitions.h"
#include "ui/windows.h"

namespace ui {

Dialog::Dialog(Windows& windows, const forms::Form& form)
    : windows_(windows)
    , form_(form)
    , window_(windows.toolkit().createDialog(form, *this)) {}

void Dialog::click(std::string_view control) {
    if (control == "Command1")
        windows_.run(std::string(form_.name) + ".Command1_Click", [this] { Command1_Click(); });
}

void Dialog::closeBox() { windows_.destroy(*this); }

Form1::Form1(Windows& windows)
    : Dialog(windows, forms::form1) {}

void Form1::Form_Load() { windows_.show(windows_.mainForm()); }

void Form1::Command1_Click() {
    engine::setAlarmTime(windows_.alarmState(), windows_.clock(), windows_.beeper());
}

Form2::Form2(Windows& windows)
    : Dialog(windows, forms::form2) {}

void Form2::Command1_Click() {
    engine::startInterval(windows_.alarmState(), windows_.clock(), windows_.beeper());
}

Form4::Form4(Windows& windows)
    : Dialog(windows, forms::form4) {}

void Form4::Command1_Click() {
    engine::startPresentation(windows_.alarmState(), windows_.clock(), windows_.beeper());
}

} // namespace ui
