#pragma once

// The toolkit's services as a test sees them: every window the handlers create, show and
// destroy is logged in order, the texts of the fields are what the test puts there, the
// clock stands where the test sets it and the beeper counts.

#include "support/memory_surface.h"
#include "support/standing_clock.h"

#include "ui/toolkit.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

struct RecordingToolkit final : ui::Toolkit, StandingClock, engine::Beeper {
    struct Recorded {
        RecordingToolkit& toolkit;
        std::string name;
        ui::WindowEvents& events;

        Recorded(RecordingToolkit& t, std::string_view n, ui::WindowEvents& e)
            : toolkit(t)
            , name(n)
            , events(e) {
            toolkit.record("create " + name);
            toolkit.live[name] = this;
        }
        virtual ~Recorded() {
            toolkit.record("destroy " + name);
            toolkit.live.erase(name);
        }
        void shown(ui::Owner owner, bool centre) {
            toolkit.record("show " + name + (owner == ui::Owner::MainForm ? " owned" : "") +
                           (centre ? " centred" : ""));
        }
    };

    struct Dialog final : ui::DialogWindow, Recorded {
        std::map<std::string, std::string, std::less<>> texts;
        using Recorded::Recorded;
        void show(ui::Owner owner, bool centre) override { shown(owner, centre); }
        std::string text(std::string_view textBox) override { return texts[std::string(textBox)]; }
        void setCaption(std::string_view label, std::string_view caption) override {
            toolkit.record(name + "." + std::string(label) + " = " + std::string(caption));
        }
    };

    struct Clock final : ui::ClockWindow, Recorded, MemorySurface {
        using Recorded::Recorded;
        void show(bool centre) override { shown(ui::Owner::None, centre); }
        face::Surface& clientArea() override { return *this; }
        void setBackColor(forms::Rgb c) override {
            toolkit.record(c == forms::Rgb{0, 0, 255} ? "blue" : "another colour");
        }
        void requestAttention() override { toolkit.record("attention"); }
    };

    std::vector<std::string> calls;
    std::vector<std::string> faults;
    std::map<std::string, Recorded*> live;
    int beeps = 0, hushes = 0;
    bool failing = false; // the clock and the sound fail

    void record(const std::string& call) { calls.push_back(call); }
    std::vector<std::string> take() { return std::exchange(calls, {}); } // since the last take
    Recorded& window(std::string_view name) { return *live.at(std::string(name)); }
    Dialog& dialog(std::string_view name) { return dynamic_cast<Dialog&>(window(name)); }
    Clock& main() { return dynamic_cast<Clock&>(window("mainForm")); }

    std::unique_ptr<ui::ClockWindow> createClockWindow(const forms::FormDefinition& form,
                                                       ui::WindowEvents& events) override {
        return std::make_unique<Clock>(*this, form.name, events);
    }
    std::unique_ptr<ui::DialogWindow> createDialog(const forms::FormDefinition& form,
                                                   ui::WindowEvents& events) override {
        return std::make_unique<Dialog>(*this, form.name, events);
    }
    void quit() override { record("quit"); }
    void answer() override { record("answer"); }
    void log(engine::FaultLog::Severity severity, const std::string& line) override {
        faults.push_back((severity == engine::FaultLog::Severity::Critical ? "critical " : "") +
                         line);
    }
    std::string shortDate(const engine::LocalDateTime&) override { return "date"; }
    std::string longTime(const engine::LocalDateTime&) override { return "time"; }

    int second() override { return failing ? throw std::runtime_error("no clock") : at.second; }
    void beep() override { ++beeps; }
    void hush() override { failing ? throw std::runtime_error("no sound") : void(++hushes); }
};
