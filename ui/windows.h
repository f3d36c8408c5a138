#pragma once

#include "forms/form_def.h"
#include "ui/services.h"

#include <memory>
#include <type_traits>

namespace ui {

class Dialog;
class MainForm;
class Form1;
class Form2;
class Form4;

// The four windows of the program. Each exists at most once and is reached by name: the first
// reference creates it from its definition and runs its load handler, and a window created by
// anything but a show stays hidden. A dialog closed through its frame is destroyed with its
// texts, and the next reference creates it afresh.
class Windows {
public:
    Windows(Toolkit& toolkit, engine::WallClock& clock, engine::Beeper& beeper,
            engine::AlarmState& alarms, Handlers& handlers);
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // MainForm, Form1, Form2 or Form4.
    template <class Window> Window& reference();
    // The dialog of a definition.
    Dialog& dialog(const forms::FormDefinition& form);
    // The user closed the dialog through its frame.
    void destroy(Dialog& dialog);

private:
    template <class Window> std::unique_ptr<Window>& slot();

    const Services services_;
    // Declared in the order of creation at start-up, so that the dialogs go first.
    std::unique_ptr<MainForm> mainForm_;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Form4> form4_;
};

} // namespace ui
