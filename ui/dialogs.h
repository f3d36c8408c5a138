#pragma once

#include "ui/form_window.h"

namespace ui {

class Windows;

// Form1: the alarm time. It is also the start-up window.
class Form1 final : public FormWindow {
    Q_OBJECT
public:
    Form1(Windows& windows, QWidget* owner);
    void Form_Load();
    void Command1_Click();

private:
    Windows& windows_;
};

// Form2: the interval alarm.
class Form2 final : public FormWindow {
    Q_OBJECT
public:
    Form2(Windows& windows, QWidget* owner);
    void Command1_Click();

private:
    Windows& windows_;
};

// Form4: the presentation alarm with its three bells.
class Form4 final : public FormWindow {
    Q_OBJECT
public:
    Form4(Windows& windows, QWidget* owner);
    void Command1_Click();

private:
    Windows& windows_;
};

} // namespace ui
