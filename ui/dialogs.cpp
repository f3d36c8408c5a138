#include "ui/dialogs.h"

#include "engine/commands.h"
#include "forms/definitions.h"
#include "ui/forms.h"

namespace ui {

Dialog::Dialog(Forms& forms, const forms::Form& form)
    : forms_(forms)
    , form_(form)
    , window_(forms.toolkit().createDialog(form, *this)) {}

void Dialog::click(std::string_view control) {
    if (control == "Command1")
        forms_.run(std::string(form_.name) + ".Command1_Click", [this] { Command1_Click(); });
}

void Dialog::closeBox() { forms_.destroy(*this); }

Form1::Form1(Forms& forms)
    : Dialog(forms, forms::form1) {}

void Form1::Form_Load() { forms_.show(forms_.mainForm()); }

void Form1::Command1_Click() {
    engine::setAlarmTime(forms_.alarmState(), forms_.clock(), forms_.beeper());
}

Form2::Form2(Forms& forms)
    : Dialog(forms, forms::form2) {}

void Form2::Command1_Click() {
    engine::startInterval(forms_.alarmState(), forms_.clock(), forms_.beeper());
}

Form4::Form4(Forms& forms)
    : Dialog(forms, forms::form4) {}

void Form4::Command1_Click() {
    engine::startPresentation(forms_.alarmState(), forms_.clock(), forms_.beeper());
}

} // namespace ui
