#pragma once

#include "ui/services.h"
#include "ui/toolkit.h"

#include <memory>

namespace ui {

// A setting dialog: its window, built from its definition, and its one button's handler.
class Dialog : public WindowEvents {
public:
    Dialog(const Services& services, const forms::FormDefinition& form);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    virtual void Command1_Click() = 0;

    // Modeless, centred the first time after its creation.
    void show(Owner owner = Owner::MainForm);
    DialogWindow& window() { return *window_; }

protected:
    const Services services_;

private:
    void click(std::string_view control) final;
    void closeBox() final;
    void timer() final {}

    const forms::FormDefinition& form_;
    std::unique_ptr<DialogWindow> window_;
    bool shownBefore_ = false;
};

// Form1: the alarm time. It is also the start-up window.
class Form1 final : public Dialog {
public:
    explicit Form1(const Services& services);
    void Form_Load();
    void Command1_Click() override;
};

// Form2: the interval alarm.
class Form2 final : public Dialog {
public:
    explicit Form2(const Services& services);
    void Command1_Click() override;
};

// Form4: the presentation alarm with its three bells.
class Form4 final : public Dialog {
public:
    explicit Form4(const Services& services);
    void Command1_Click() override;
};

} // namespace ui
