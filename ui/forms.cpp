#include "ui/forms.h"

#include "forms/definitions.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"

namespace ui {

Forms::Forms(Toolkit& toolkit, engine::WallClock& clock, engine::Beeper& beeper,
             engine::AlarmState& alarmState)
    : toolkit_(toolkit)
    , clock_(clock)
    , beeper_(beeper)
    , alarmState_(alarmState)
    , faults_([&toolkit](engine::FaultLog::Severity severity, const std::string& line) {
        toolkit.log(severity, line);
    }) {}

Forms::~Forms() = default;

void Forms::startUp() { show(form1(), Owner::None); }

template <class Form> Form& Forms::reference(std::unique_ptr<Form>& slot) {
    if (!slot) {
        // In its slot before its load handler runs, so that the handler reaches it by name.
        slot = std::make_unique<Form>(*this);
        if constexpr (requires { slot->Form_Load(); })
            slot->Form_Load();
    }
    return *slot;
}

MainForm& Forms::mainForm() { return reference(mainForm_); }
Form1& Forms::form1() { return reference(form1_); }
Form2& Forms::form2() { return reference(form2_); }
Form4& Forms::form4() { return reference(form4_); }

Dialog& Forms::dialog(const forms::Form& form) {
    if (&form == &forms::form1)
        return form1();
    if (&form == &forms::form2)
        return form2();
    if (&form == &forms::form4)
        return form4();
    throw std::invalid_argument("no dialog of this definition");
}

void Forms::show(MainForm& window) {
    window.window().show(nullptr, !std::exchange(window.shownBefore, true));
}

void Forms::show(Dialog& dialog, Owner owner) {
    Window* const ownerWindow = owner == Owner::MainForm ? &mainForm().window() : nullptr;
    dialog.window().show(ownerWindow, !std::exchange(dialog.shownBefore, true));
}

void Forms::destroy(Dialog& dialog) {
    const auto release = [&dialog](auto& slot) {
        if (slot.get() != &dialog)
            return false;
        slot.reset();
        return true;
    };
    release(form1_) || release(form2_) || release(form4_);
}

void Forms::end() {
    if (std::exchange(ended_, true))
        return;
    toolkit_.quit();
}

std::string Forms::fieldText(engine::Field field) {
    const forms::FieldControl& control = forms::fieldControl(field);
    return dialog(*control.form).window().text(control.textBox);
}

void Forms::setNotice(std::string_view caption) {
    DialogWindow& form = form1().window();
    // The alarm begins to fire: the notice appears anew, which is what screen readers
    // announce, also when it shows already since an earlier alarm; and the clock asks for
    // attention, for those who cannot hear the chime or look at another window, muted or not.
    const bool begins = !noticeInLastTick_;
    noticeInThisTick_ = true;
    if (begins)
        form.setCaption("Label4", {});
    form.setCaption("Label4", caption);
    if (begins)
        mainForm().window().requestAttention();
}

} // namespace ui
