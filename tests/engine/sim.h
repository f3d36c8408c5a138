#pragma once

// A simulated world for the engine: one object is the wall clock, the beeper, the dialogs
// and the face, and logs every call in order.

#include "engine/commands.h"
#include "engine/run_time_error.h"
#include "engine/tick.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace sim {

struct World final : engine::WallClock,
                     engine::Beeper,
                     engine::Dialogs,
                     engine::FaceSteps,
                     engine::AssistiveRequests {
    long long ms = (9 * 60 + 59) * 60000 + 47000; // local time; the main window loads at 9:59:47
    std::vector<std::string> log; // clock readings h, m, s; field reads readN; steps, beeps
    std::string heard;            // " 3" a beep, " n3" the notice, in seconds from the start
    std::map<engine::Field, std::string> fields;
    std::string failAt;  // the face step that throws
    long long start = 0; // of the script that plays, in ms
    engine::AlarmState state;
    engine::TickPorts ports{*this, *this, *this, *this, *this, engine::ChimeBounds{5, 2, 3}};

    World() { // ticks come at .050 of every 100 ms from 10:00:00
        engine::resetAlarms(state);
        engine::noteStartSecond(state, *this);
        ms = 36000050;
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
    void hear(const char* what) { heard += what + std::to_string((ms - start) / 1000); }
    void beep() override { log.push_back("beep"), hear(" "); }
    std::string fieldText(engine::Field field) override {
        log.push_back("read" + std::to_string(int(field)));
        return fields[field];
    }
    void setNotice(std::string_view caption) override { log.emplace_back(caption), hear(" n"); }
    void face(const std::string& step) {
        log.push_back(step);
        if (failAt == step)
            throw engine::RunTimeError(engine::RunTimeError::Kind::Overflow, "Overflow");
    }
    void ShowDigitalTime() override { face("ShowDigitalTime"); }
    void DrawDialMarks() override { face("DrawDialMarks"); }
    void DrawHands() override { face("DrawHands"); }
    void ShowTitle() override { face("ShowTitle"); }
    void answer() override {}
    void tick() { engine::runTickSteps(state, ports); }

    // Plays steps separated by ';' and returns what sounded and showed, in order, as whole
    // seconds from the start: a beep as "3", the notice as "n3". "at H:MM:SS" sets the clock;
    // "f1", "f2" or "f4" and a blank fill that form's fields, comma separated, in the order of
    // Field; "set", "start2", "start4", "off" are the commands; "run N" ticks for N seconds,
    // "hold N" ticks N times on the same clock reading, "jump N" moves the clock.
    std::string play(const std::string& script) {
        start = ms;
        heard.clear();
        std::istringstream steps(script);
        for (std::string step; std::getline(steps, step, ';');) {
            std::istringstream words(step);
            std::string name, args;
            std::getline((words >> name).ignore(), args, '\0'); // after the blank that ends it
            const long long n = std::atoll(args.c_str());
            if (name[0] == 'f') { // f1, f2, f4
                std::istringstream texts(args);
                int f = name == "f1" ? 0 : name == "f2" ? 2 : 4;
                for (std::string text; std::getline(texts, text, ',');)
                    fields[engine::Field(f++)] = text;
            } else if (int h, m, s;
                       name == "at" && std::sscanf(args.c_str(), "%d:%d:%d", &h, &m, &s) == 3) {
                start = ms = ((h * 60 + m) * 60 + s) * 1000 + 50;
            }
            name == "set"      ? engine::setAlarmTime(state, *this, *this)
            : name == "start2" ? engine::startInterval(state, *this, *this)
            : name == "start4" ? engine::startPresentation(state, *this, *this)
            : name == "off"    ? engine::alarmOff(state)
                               : void();
            for (const long long until = ms + n * 1000; name == "run" && ms < until; ms += 100)
                tick();
            for (long long i = 0; name == "hold" && i < n; ++i)
                tick();
            ms += name == "jump" ? n * 1000 : 0;
        }
        return heard.substr(heard.empty() ? 0 : 1);
    }
};

} // namespace sim
