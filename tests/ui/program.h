#pragma once

// One program on the offscreen platform, started as the user starts it, with a clock that
// stands where the test puts it and a beeper that counts.

#include "ui/dial_widget.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/windows.h"

#include "../engine/rows.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

struct Program final : engine::WallClock, engine::Beeper {
    int beeps = 0, quits = 0, hushes = 0;
    bool failing = false; // the clock and the sound fail
    engine::LocalDateTime at{2026, 12, 5, 10, 10, 40};
    engine::AlarmState state;
    ui::Windows windows{state, *this, *this, [this] { ++quits; }};

    Program() {
        windows.StartUp();
        QApplication::processEvents();
    }
    int hour() override { return at.hour; }
    int minute() override { return at.minute; }
    int second() override { return failing ? throw std::runtime_error("no clock") : at.second; }
    engine::LocalDateTime now() override { return at; }
    void beep() override { ++beeps; }
    void hush() override { failing ? throw std::runtime_error("no sound") : void(++hushes); }

    ui::MainForm& main() { return windows.mainForm(); }
    ui::FormWindow* form(const QString& name) { return main().findChild<ui::FormWindow*>(name); }
    QLineEdit* field(const QString& form, const char* name) {
        return this->form(form)->findChild<QLineEdit*>(name);
    }
    void menu(const QString& command) { main().menuBar()->findChild<QAction*>(command)->trigger(); }
    void tick() { main().Timer1_Timer(); }
    // The flags intervalOn presOn alarmOff alarmArmed, e for empty.
    QString flags() {
        QStringList flags;
        for (const auto* v : {&state.intervalOn, &state.presOn, &state.alarmOff, &state.alarmArmed})
            flags << (v->isEmpty() ? "e" : QString::number(*v->toDouble()));
        return flags.join(' ');
    }
};
