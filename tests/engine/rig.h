#pragma once

// A simulated world for the engine: one object plays the wall clock, the beeper, the
// dialogs and the face, and logs every call in order.

#include "engine/commands.h"
#include "engine/run_time_error.h"
#include "engine/tick.h"

#include <QTest>

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>

namespace sim {

using engine::Field;

constexpr long long At(int day, int h, int m, int s) {
    return ((day * 24LL + h) * 60 + m) * 60000 + s * 1000LL;
}

class Rig final : public engine::WallClock,
                  public engine::Beeper,
                  public engine::Dialogs,
                  public engine::FaceSteps {
public:
    long long ms = At(0, 9, 59, 47); // local time
    std::vector<std::string> log;    // clock readings h, m, s; field reads readN
    std::vector<long long> beeps, notices;
    std::map<Field, std::string> fields;
    std::string failAt; // the face step that throws
    std::function<void()> onBeep;
    engine::AlarmState state;
    engine::TickPorts ports{*this, *this, *this, *this, engine::ChimeBounds{5, 2, 3}};

    // Loaded at 9:59:47; scripts start at 10:00:00.050 and tick at .050 of every 100 ms.
    Rig() {
        engine::ResetAlarms(state);
        engine::NoteStartSecond(state, *this);
        ms = At(0, 10, 0, 0) + 50;
        log.clear();
    }

    int hour() override { return read("h", 3600000, 24); }
    int minute() override { return read("m", 60000, 60); }
    int second() override { return read("s", 1000, 60); }
    engine::LocalDateTime now() override {
        return {2024, 1, 1 + read("day", At(1, 0, 0, 0), 28), hour(), minute(), second()};
    }
    void beep() override {
        log.push_back("beep");
        beeps.push_back(ms);
        if (onBeep) {
            onBeep();
        }
    }
    std::string fieldText(Field field) override {
        log.push_back("read" + std::to_string(static_cast<int>(field)));
        return fields[field];
    }
    void setNotice(std::string_view caption) override {
        log.emplace_back(caption);
        notices.push_back(ms);
    }
    void ShowDigitalTime() override { face("ShowDigitalTime"); }
    void DrawDialMarks() override { face("DrawDialMarks"); }
    void DrawHands() override { face("DrawHands"); }
    void ShowTitle() override { face("ShowTitle"); }

    void tick() { engine::Timer1_Timer(state, ports); }

    // Plays commands separated by ';' and returns the beeps' offsets in whole seconds from
    // the start. Texts follow f1, f2 or f4 after one blank, comma separated, untrimmed, in
    // the order of Field. "run N" ticks for N seconds, "jump N" only moves the clock.
    QList<int> play(const QString& script) {
        using Command = void (*)(engine::AlarmState&, engine::WallClock&, engine::Beeper&);
        static const std::map<QString, Command> commands = {{"set", engine::SetAlarmTime},
                                                            {"start2", engine::StartInterval},
                                                            {"start4", engine::StartPresentation}};
        static const std::map<QString, int> forms = {{"f1", 0}, {"f2", 2}, {"f4", 4}};
        const auto [start, firstBeep] = std::pair{ms, beeps.size()};
        log.clear();
        long long ticks = 0;
        for (const QString& step : script.split(';')) {
            const QString name = step.trimmed().section(' ', 0, 0);
            const QStringList args = step.mid(step.indexOf(name) + name.size() + 1).split(',');
            for (qsizetype i = 0; forms.contains(name) && i < args.size(); ++i) {
                fields[Field(forms.at(name) + i)] = args[i].toStdString();
            }
            if (commands.contains(name)) {
                commands.at(name)(state, *this, *this);
            }
            if (name == "off") {
                engine::AlarmOff(state);
            }
            for (const long long end = ms + args[0].toInt() * 1000LL; name == "run" && ms < end;
                 ms += 100, ++ticks) {
                tick();
            }
            ms += name == "jump" ? args[0].toLongLong() * 1000 : 0;
        }
        if (std::count(log.begin(), log.end(), "ShowTitle") != ticks) {
            throw std::logic_error("a tick did not reach the title");
        }
        QList<int> offsets;
        for (std::size_t i = firstBeep; i < beeps.size(); ++i) {
            offsets.push_back(static_cast<int>((beeps[i] - start) / 1000));
        }
        return offsets;
    }

private:
    int read(const char* what, long long unit, int modulo) {
        log.push_back(what);
        return static_cast<int>(ms / unit % modulo);
    }
    void face(const std::string& step) {
        log.push_back(step);
        if (failAt == step) {
            throw engine::RunTimeError(engine::RunTimeError::Kind::Overflow, "Overflow");
        }
    }
};

// Rows "name|script|offsets": the script played on a new rig must give those beep
// offsets, listed separated by blanks.
inline void AddScenarios(std::initializer_list<const char*> rows) {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QList<int>>("offsets");
    for (const char* row : rows) {
        const QStringList cells = QString(row).split('|');
        QList<int> offsets;
        for (const QString& n : cells[2].split(' ', Qt::SkipEmptyParts)) {
            offsets.push_back(n.toInt());
        }
        QTest::newRow(qPrintable(cells[0])) << cells[1] << offsets;
    }
}

inline void PlayScenario() {
    QFETCH(QString, script);
    QFETCH(QList<int>, offsets);
    QCOMPARE(Rig().play(script), offsets);
}

} // namespace sim
