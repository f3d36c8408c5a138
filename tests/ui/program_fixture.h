#pragma once

#include "engine/alarm_state.h"
#include "engine/ports.h"
#include "ui/windows.h"

#include <QApplication>
#include <QWidget>

#include <memory>

// A clock that stands where the test puts it, and a beeper that counts.
struct SteppedClock final : engine::WallClock {
    engine::LocalDateTime at{2026, 12, 5, 10, 10, 40};
    int hour() override { return at.hour; }
    int minute() override { return at.minute; }
    int second() override { return at.second; }
    engine::LocalDateTime now() override { return at; }
};

struct CountingBeeper final : engine::Beeper {
    int beeps = 0;
    void beep() override { ++beeps; }
};

// One running program, started as the user would start it.
struct Program {
    SteppedClock clock;
    CountingBeeper beeper;
    engine::AlarmState state;
    int quits = 0;
    std::unique_ptr<ui::Windows> windows;

    Program() {
        windows = std::make_unique<ui::Windows>(state, clock, beeper, [this] { ++quits; });
        windows->StartUp();
        QApplication::processEvents();
    }
};
