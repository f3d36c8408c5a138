// Cost of one tick of the real program: the engine, the clock face and the widgets, on
// Qt's offscreen platform, with MainForm::Timer1_Timer called as the timer would call it.
//
//   tick_bench [benchmark options]          per-tick median and p99 (Google Benchmark)
//   tick_bench --callgrind SCENARIO TICKS   the ticks only, for valgrind --tool=callgrind
//                                           --collect-atstart=no: dumps "steady" (ticks
//                                           within one second), "tick" (all ticks) and
//                                           "tick+paint" (each tick and its repaint)

#include "engine/ports.h"
#include "platform/linux/system_clock.h"
#include "toolkit/qt/toolkit.h"
#include "ui/dialogs.h"
#include "ui/forms.h"
#include "ui/main_form.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace {

// 10:00:00 to 19:59:59, 100 ms per tick, over and over: one tick in ten starts a new second.
class SteppedClock final : public engine::WallClock {
public:
    static constexpr long long from = 10 * 3600 * 1000LL;
    static constexpr long long to = 20 * 3600 * 1000LL;
    long long ms = from;

    void advance() { ms = ms + 100 < to ? ms + 100 : from; }
    bool secondStarts() const { return ms % 1000 == 0; }

    int hour() override { return static_cast<int>(ms / 3600000 % 24); }
    int minute() override { return static_cast<int>(ms / 60000 % 60); }
    int second() override { return static_cast<int>(ms / 1000 % 60); }
    engine::LocalDateTime now() override { return {2026, 12, 5, hour(), minute(), second()}; }
};

class SilentBeeper final : public engine::Beeper {
public:
    void beep() override {}
};

enum class Alarms { None, All };
enum class Clock { Stepped, System };

// The program after start-up, with its timer stopped so that only the bench ticks.
struct Program {
    SteppedClock stepped;
    platform::SystemClock system;
    SilentBeeper beeper;
    toolkit::qt::QtToolkit toolkit{[] {}};
    engine::AlarmState state;
    const Clock clock;
    ui::Forms forms;

    Program(Alarms alarms, Clock clock)
        : clock(clock)
        , forms(toolkit,
                clock == Clock::Stepped ? static_cast<engine::WallClock&>(stepped) : system, beeper,
                state) {
        forms.startUp();
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* timer = window->findChild<QTimer*>(QStringLiteral("Timer1")))
                timer->stop();
        QApplication::processEvents();
        if (alarms == Alarms::All)
            startAllAlarms();
        // The first ticks create the hidden dialogs and lay out the captions.
        for (int i = 0; i < 20; ++i)
            tick(true);
    }

    ui::MainForm& main() { return forms.mainForm(); }

    static void type(const char* form, const char* field, const QString& text) {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->objectName() == QLatin1String(form))
                window->findChild<QLineEdit*>(field)->setText(text);
    }

    // The time alarm armed for 23:30, which the stepped clock never reaches and the
    // system clock does not reach within a run; the interval beeping every 10 s; bells
    // far enough away that the presentation keeps running.
    void startAllAlarms() {
        forms.form1();
        type("Form1", "Text1", QStringLiteral("23"));
        type("Form1", "Text2", QStringLiteral("30"));
        if (clock == Clock::System)
            type("Form1", "Text1", QString::number((system.hour() + 2) % 24));
        forms.form1().Command1_Click();
        forms.form2();
        type("Form2", "Text3", QStringLiteral("0"));
        type("Form2", "Text1", QStringLiteral("10"));
        forms.form2().Command1_Click();
        forms.form4();
        type("Form4", "Text1", QStringLiteral("500"));
        type("Form4", "Text2", QStringLiteral("0"));
        type("Form4", "Text3", QStringLiteral("550"));
        type("Form4", "Text4", QStringLiteral("30.5"));
        type("Form4", "Text5", QStringLiteral("599"));
        type("Form4", "Text6", QStringLiteral("59"));
        forms.form4().Command1_Click();
    }

    void tick(bool paint) {
        main().Timer1_Timer();
        if (paint)
            QApplication::processEvents();
        stepped.advance();
    }
};

double percentile(std::vector<double>& samples, double fraction) {
    const auto at = static_cast<std::ptrdiff_t>(fraction * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), samples.begin() + at, samples.end());
    return samples[static_cast<std::size_t>(at)];
}

// Times every tick on its own, so that the rare tick that starts a second shows in p99.
void tickCost(benchmark::State& bench, Alarms alarms, Clock clock, bool paint) {
    Program program(alarms, clock);
    std::vector<double> samples;
    samples.reserve(1 << 20);
    for (auto _ : bench) {
        const auto start = std::chrono::steady_clock::now();
        program.main().Timer1_Timer();
        if (paint)
            QApplication::processEvents();
        const auto stop = std::chrono::steady_clock::now();
        if (!paint)
            QApplication::processEvents();
        program.stepped.advance();
        if (program.state.presCount > engine::Value{std::int16_t{30000}})
            program.forms.form4().Command1_Click();
        const double seconds = std::chrono::duration<double>(stop - start).count();
        bench.SetIterationTime(seconds);
        samples.push_back(seconds * 1e6);
    }
    if (alarms == Alarms::All && program.state.presOn != engine::Value{std::int16_t{1}})
        bench.SkipWithError("the presentation alarm stopped during the run");
    bench.counters["median_us"] = percentile(samples, 0.5);
    bench.counters["p99_us"] = percentile(samples, 0.99);
}

void registerTicks() {
    struct Case {
        const char* name;
        Alarms alarms;
        Clock clock;
        bool paint;
    };
    constexpr Case cases[] = {
        {"tick/no_alarm/stepped_clock", Alarms::None, Clock::Stepped, false},
        {"tick/three_alarms/stepped_clock", Alarms::All, Clock::Stepped, false},
        {"tick/no_alarm/system_clock", Alarms::None, Clock::System, false},
        {"tick/three_alarms/system_clock", Alarms::All, Clock::System, false},
        {"tick+paint/no_alarm/stepped_clock", Alarms::None, Clock::Stepped, true},
        {"tick+paint/three_alarms/stepped_clock", Alarms::All, Clock::Stepped, true},
    };
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark(
            c.name, [c](benchmark::State& bench) { tickCost(bench, c.alarms, c.clock, c.paint); })
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond)
            ->MinTime(2.0);
    }
}

// One reading of the wall clock, as the tick takes seven of them.
void systemClockReading(benchmark::State& bench) {
    platform::SystemClock clock;
    for (auto _ : bench)
        benchmark::DoNotOptimize(clock.second());
}
BENCHMARK(systemClockReading);

void systemClockNow(benchmark::State& bench) {
    platform::SystemClock clock;
    for (auto _ : bench)
        benchmark::DoNotOptimize(clock.now());
}
BENCHMARK(systemClockNow);

int callgrind(std::string_view scenario, int ticks) {
    const Alarms alarms = scenario == "three_alarms" ? Alarms::All : Alarms::None;
    Program program(alarms, Clock::Stepped);
    // Ticks within a second: the captions and every coordinate keep their values.
    int steady = 0;
    for (int i = 0; i < ticks; ++i) {
        const bool counted = !program.stepped.secondStarts();
        if (counted) {
            CALLGRIND_TOGGLE_COLLECT;
            program.main().Timer1_Timer();
            CALLGRIND_TOGGLE_COLLECT;
            ++steady;
            program.stepped.advance();
        } else {
            program.tick(false);
        }
        QApplication::processEvents();
    }
    CALLGRIND_DUMP_STATS_AT("steady");
    for (int i = 0; i < ticks; ++i) {
        CALLGRIND_TOGGLE_COLLECT;
        program.main().Timer1_Timer();
        CALLGRIND_TOGGLE_COLLECT;
        QApplication::processEvents();
        program.stepped.advance();
    }
    CALLGRIND_DUMP_STATS_AT("tick");
    for (int i = 0; i < ticks; ++i) {
        CALLGRIND_TOGGLE_COLLECT;
        program.tick(true);
        CALLGRIND_TOGGLE_COLLECT;
    }
    CALLGRIND_DUMP_STATS_AT("tick+paint");
    std::printf("steady=%d tick=%d tick+paint=%d\n", steady, ticks, ticks);
    return alarms == Alarms::None || program.state.presOn == engine::Value{std::int16_t{1}} ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    if (argc == 4 && std::strcmp(argv[1], "--callgrind") == 0)
        return callgrind(argv[2], std::atoi(argv[3]));
    registerTicks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
