#pragma once

#include "ui/toolkit.h"

#include <memory>

namespace ui {

class Forms;

// A setting dialog: its window, built from its definition, and its one button's handler.
class Dialog : public WindowEvents {
public:
    Dialog(Forms& forms, const forms::Form& form);
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    virtual void Command1_Click() = 0;

    DialogWindow& window() { return *window_; }
    bool shownBefore = false;

protected:
    Forms& forms_;

private:
    void click(std::string_view control) final;
    void closeBox() final;
    void timer() final {}

    const forms::Form& form_;
    std::unique_ptr<DialogWindow> window_;
};

// Form1: the alarm time. It is also the start-up window.
class Form1 final : public Dialog {
public:
    explicit Form1(Forms& forms);
    void Form_Load();
    void Command1_Click() override;
};

// Form2: the interval alarm.
class Form2 final : public Dialog {
public:
    explicit Form2(Forms& forms);
    void Command1_Click() override;
};

// Form4: the presentation alarm with its three bells.
class Form4 final : public Dialog {
public:
    explicit Form4(Forms& forms);
    void Command1_Click() override;
};

} // namespace ui
