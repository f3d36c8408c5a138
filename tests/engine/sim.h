#pragma once

// A simulated world for the engine: one object is the wall clock, the beeper, the dialogs
// and the face, and logs every call in order. Plain C++, so that the fuzz targets share it.

#include "engine/commands.h"
#include "engine/run_time_error.h"
#include "engine/tick.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace sim {

constexpr long long At(int day, int h, int m, int s) {
    return ((day * 24LL + h) * 60 + m) * 60000 + s * 1000LL;
}

struct World final : engine::WallClock, engine::Beeper, engine::Dialogs, engine::FaceSteps {
    long long ms = At(0, 9, 59, 47); // local time; the main window loads at 9:59:47
    long long beepCost = 0;          // how far the clock moves while a beep holds the thread
    std::vector<std::string> log;    // clock readings h, m, s; field reads readN; steps
    std::vector<long long> beeps, notices;
    std::vector<engine::Value> chimeStepAtBeep; // taken away at every beep
    std::map<engine::Field, std::string> fields;
    std::string failAt; // the face step that throws
    engine::AlarmState state;
    engine::TickPorts ports{*this, *this, *this, *this, engine::ChimeBounds{5, 2, 3}};

    World() { // scripts start at 10:00:00.050 and tick at .050 of every 100 ms
        engine::ResetAlarms(state);
        engine::NoteStartSecond(state, *this);
        ms = At(0, 10, 0, 0) + 50;
        log.clear();
    }
    int read(const char* what, long long unit, int modulo) {
        log.push_back(what);
        return int(ms / unit % modulo);
    }
    int hour() override { return read("h", 3600000, 24); }
    int minute() override { return read("m", 60000, 60); }
    int second() override { return read("s", 1000, 60); }
    engine::LocalDateTime now() override { return {2024, 1, 1, hour(), minute(), second()}; }
    void beep() override {
        log.push_back("beep");
        beeps.push_back(std::exchange(ms, ms + beepCost));
        chimeStepAtBeep.push_back(std::exchange(state.chimeStep, {}));
    }
    std::string fieldText(engine::Field field) override {
        log.push_back("read" + std::to_string(int(field)));
        return fields[field];
    }
    void setNotice(std::string_view caption) override {
        log.emplace_back(caption);
        notices.push_back(ms);
    }
    void face(const std::string& step) {
        log.push_back(step);
        if (failAt == step)
            throw engine::RunTimeError(engine::RunTimeError::Kind::Overflow, "Overflow");
    }
    void ShowDigitalTime() override { face("ShowDigitalTime"); }
    void DrawDialMarks() override { face("DrawDialMarks"); }
    void DrawHands() override { face("DrawHands"); }
    void ShowTitle() override { face("ShowTitle"); }
    void tick() { engine::Timer1_Timer(state, ports); }

    // Plays steps separated by ';' and returns the beeps' offsets in whole seconds from the
    // start. "f1", "f2" or "f4" and a blank set that form's fields, comma separated, in the
    // order of Field; "set", "start2", "start4" and "off" are the commands; "run N" ticks
    // for N seconds; "hold N" ticks N times with the clock standing still; "jump N" moves it.
    std::vector<long long> play(const std::string& script) {
        const auto [start, first] = std::pair{ms, beeps.size()};
        for (std::size_t at = 0, end; at < script.size(); at = end + 1) {
            end = std::min(script.find(';', at), script.size());
            const std::size_t from = std::min(script.find_first_not_of(' ', at), end);
            const std::string step = script.substr(from, end - from);
            const std::string name = step.substr(0, step.find(' ')),
                              args = step.substr(name.size());
            const long long n = name[0] == 'f' || args.empty() ? 0 : std::stoll(args);
            if (name[0] == 'f') {
                std::size_t f = name == "f1" ? 0 : name == "f2" ? 2 : 4, a = 1, comma;
                for (; (comma = args.find(',', a)) != std::string::npos; a = comma + 1)
                    fields[engine::Field(f++)] = args.substr(a, comma - a);
                fields[engine::Field(f)] = args.substr(a);
            }
            using Command = void (*)(engine::AlarmState&, engine::WallClock&, engine::Beeper&);
            for (const auto& [command, run] :
                 {std::pair<const char*, Command>{"set", engine::SetAlarmTime},
                  {"start2", engine::StartInterval},
                  {"start4", engine::StartPresentation}})
                if (name == command)
                    run(state, *this, *this);
            if (name == "off")
                engine::AlarmOff(state);
            for (const long long until = ms + n * 1000; name == "run" && ms < until; ms += 100)
                tick();
            for (long long i = 0; name == "hold" && i < n; ++i)
                tick();
            ms += name == "jump" ? n * 1000 : 0;
        }
        std::vector<long long> offsets;
        for (std::size_t i = first; i < beeps.size(); ++i)
            offsets.push_back((beeps[i] - start) / 1000);
        return offsets;
    }
};

} // namespace sim
