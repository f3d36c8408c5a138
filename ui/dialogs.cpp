#include "ui/dialogs.h"

#include "engine/commands.h"
#include "forms/definitions.h"
#include "ui/handlers.h"
#include "ui/main_form.h"
#include "ui/windows.h"

#include <string>
#include <utility>

namespace ui {

Dialog::Dialog(const Services& services, const forms::FormDefinition& form)
    : services_(services)
    , form_(form)
    , window_(services.toolkit.createDialog(form, *this)) {}

Dialog::~Dialog() { services_.handlers.forget(this); }

void Dialog::show(Owner owner) { window_->show(owner, !std::exchange(shownBefore_, true)); }

void Dialog::click(std::string_view control) {
    if (control == "Command1")
        services_.handlers.run(std::string(form_.name) + ".Command1_Click", this,
                               [this] { Command1_Click(); });
}

// Destroyed with its texts: nothing of the dialog is touched after this.
void Dialog::closeBox() {
    services_.handlers.run(std::string(form_.name) + " close box", this,
                           [this] { services_.windows.destroy(*this); });
}

Form1::Form1(const Services& services)
    : Dialog(services, forms::form1Definition) {}

void Form1::Form_Load() { services_.windows.reference<MainForm>().show(); }

void Form1::Command1_Click() {
    engine::setAlarmTime(services_.alarms, services_.clock, services_.beeper);
}

Form2::Form2(const Services& services)
    : Dialog(services, forms::form2Definition) {}

void Form2::Command1_Click() {
    engine::startInterval(services_.alarms, services_.clock, services_.beeper);
}

Form4::Form4(const Services& services)
    : Dialog(services, forms::form4Definition) {}

void Form4::Command1_Click() {
    engine::startPresentation(services_.alarms, services_.clock, services_.beeper);
}

} // namespace ui
