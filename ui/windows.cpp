#include "ui/windows.h"

#include "forms/definitions.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"

#include <stdexcept>

namespace ui {

Windows::Windows(Toolkit& toolkit, engine::WallClock& clock, engine::Beeper& beeper,
                 engine::AlarmState& alarms, Handlers& handlers)
    : services_{toolkit, clock, beeper, alarms, *this, handlers} {}

Windows::~Windows() = default;

template <class Window> std::unique_ptr<Window>& Windows::slot() {
    if constexpr (std::is_same_v<Window, MainForm>)
        return mainForm_;
    else if constexpr (std::is_same_v<Window, Form1>)
        return form1_;
    else if constexpr (std::is_same_v<Window, Form2>)
        return form2_;
    else
        return form4_;
}

template <class Window> Window& Windows::reference() {
    std::unique_ptr<Window>& window = slot<Window>();
    if (!window) {
        // In its slot before its load handler runs, so that the handler reaches it by name.
        window = std::make_unique<Window>(services_);
        if constexpr (requires { window->Form_Load(); })
            window->Form_Load();
    }
    return *window;
}

template MainForm& Windows::reference<MainForm>();
template Form1& Windows::reference<Form1>();
template Form2& Windows::reference<Form2>();
template Form4& Windows::reference<Form4>();

Dialog& Windows::dialog(const forms::FormDefinition& form) {
    if (&form == &forms::form1Definition)
        return reference<Form1>();
    if (&form == &forms::form2Definition)
        return reference<Form2>();
    if (&form == &forms::form4Definition)
        return reference<Form4>();
    throw std::invalid_argument("no dialog of this definition");
}

void Windows::destroy(Dialog& dialog) {
    const auto release = [&dialog](auto& slot) {
        if (slot.get() != &dialog)
            return false;
        slot.reset();
        return true;
    };
    release(form1_) || release(form2_) || release(form4_);
}

} // namespace ui
