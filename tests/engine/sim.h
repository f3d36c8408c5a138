#pragma once

// A simulated world for the engine: one object is the wall clock, the beeper, the dialogs and
// the face, and logs in order the fields that the tick reads, the face steps it runs, the
// beeps and the notice. Scenarios play on it as steps.

#include "engine/commands.h"
#include "engine/run_time_error.h"
#include "engine/tick.h"

#include <chrono>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace sim {

struct Event {
    enum class Kind { Beep, Notice, Read, Step } kind;
    int n = 0;          // a beep's or the notice's second from the start, the field read
    std::string text{}; // the notice's caption, the step's name

    friend bool operator==(const Event&, const Event&) = default;
    friend std::ostream& operator<<(std::ostream& out, const Event& e) {
        constexpr const char* kinds[] = {"beep", "notice", "read", "step"};
        return out << kinds[int(e.kind)] << ' ' << e.n << ' ' << e.text;
    }
};
using Events = std::vector<Event>;

inline Event beep(int at) { return {Event::Kind::Beep, at}; }
inline Event notice(int at) { return {Event::Kind::Notice, at, "時間ですよ！"}; }
inline Event read(engine::Field field) { return {Event::Kind::Read, int(field)}; }
inline Event step(std::string name) { return {Event::Kind::Step, 0, std::move(name)}; }
inline Events beeps(std::initializer_list<int> seconds) {
    Events events;
    for (const int at : seconds)
        events.push_back(beep(at));
    return events;
}

// 時刻設定 and the two STARTs, and the fields of their dialogs in the order of engine::Field.
enum class Alarm { Time, Interval, Presentation };

struct World;
using Step = std::function<void(World&)>; // what a scenario does next

struct World : engine::WallClock,
               engine::Beeper,
               engine::Dialogs,
               engine::FaceSteps,
               engine::AssistiveRequests {
    long long ms = (9 * 60 + 59) * 60000 + 47000; // local time; the main window loads at 9:59:47
    long long perReading = 0;                     // how far the clock moves at each reading
    long long from = 0;                           // the start of the scenario
    Events log, heard;                            // all; the beeps and the notice
    std::map<engine::Field, std::string> fields;
    std::string failAt; // the face step that throws
    engine::AlarmState state;
    engine::TickPorts ports{*this, *this, *this, *this, *this, engine::ChimeBounds{5, 2, 3}};

    World() { // ticks come at .050 of every 100 ms from 10:00:00
        engine::resetAlarms(state);
        engine::noteStartSecond(state, *this);
        from = ms = 36000050;
    }
    long long reading() { return std::exchange(ms, ms + perReading); }
    int hour() override { return int(reading() / 3600000 % 24); }
    int minute() override { return int(reading() / 60000 % 60); }
    int second() override { return int(reading() / 1000 % 60); }
    engine::LocalDateTime now() override { return {2024, 1, 1, hour(), minute(), second()}; }
    void hear(const Event& e) { log.push_back(e), heard.push_back(e); }
    void beep() override { hear(sim::beep(int((ms - from) / 1000))); }
    void setNotice(std::string_view caption) override {
        hear({Event::Kind::Notice, int((ms - from) / 1000), std::string(caption)});
    }
    std::string fieldText(engine::Field field) override {
        return log.push_back(read(field)), fields[field];
    }
    void face(const std::string& name) {
        log.push_back(step(name));
        if (failAt == name)
            throw engine::RunTimeError(engine::RunTimeError::Kind::Overflow, "Overflow");
    }
    void ShowDigitalTime() override { face("ShowDigitalTime"); }
    void DrawDialMarks() override { face("DrawDialMarks"); }
    void DrawHands() override { face("DrawHands"); }
    void ShowTitle() override { face("ShowTitle"); }
    void answer() override {}
    void ticks(long long count, long long every) {
        for (long long i = 0; i < count; ++i, ms += every)
            engine::runTickSteps(state, ports);
    }

    // What sounded and showed while the steps played.
    Events play(const std::vector<Step>& steps) {
        from = ms;
        heard.clear();
        for (const Step& step : steps)
            step(*this);
        return heard;
    }
};

inline Step at(int h, int m, int s) {
    return [t = ((h * 60 + m) * 60 + s) * 1000LL + 50](World& w) { w.from = w.ms = t; };
}
// Two fields a dialog before the bells'.
inline Step fill(Alarm alarm, std::vector<std::string> texts) {
    return [=](World& w) {
        for (std::size_t i = 0; i < texts.size(); ++i)
            w.fields[engine::Field(2 * int(alarm) + int(i))] = texts[i];
    };
}
inline Step start(Alarm alarm) {
    constexpr void (*commands[])(engine::AlarmState&, engine::WallClock&, engine::Beeper&) = {
        engine::setAlarmTime, engine::startInterval, engine::startPresentation};
    return [command = commands[int(alarm)]](World& w) { command(w.state, w, w); };
}
inline Step off() {
    return [](World& w) { engine::alarmOff(w.state); };
}
// A tick each 100 ms; ticks on the same clock; the clock put forward.
inline Step run(std::chrono::seconds t) {
    return [t](World& w) { w.ticks(t.count() * 10, 100); };
}
inline Step hold(int ticks) {
    return [ticks](World& w) { w.ticks(ticks, 0); };
}
inline Step jump(std::chrono::seconds t) {
    return [t](World& w) { w.ms += t.count() * 1000; };
}
inline Step movingAtEachReading(std::chrono::milliseconds t) {
    return [t](World& w) { w.perReading = t.count(); };
}

} // namespace sim
