// One tick of the real program (engine, clock face and widgets on Qt's offscreen platform,
// MainForm::Timer1_Timer called as its timer calls it), and the chime's counted pause. With
// --callgrind SCENARIO TICKS, for valgrind --tool=callgrind --collect-atstart=no, it dumps
// "steady" (ticks within one second), "tick" (any tick) and "tick+paint" (with the repaint).

#include "engine/chime.h"
#include "engine/ports.h"
#include "platform/linux/system_clock.h"
#include "toolkit/qt/toolkit.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/program.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <valgrind/callgrind.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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
    const Clock clock;
    ui::Program program;
    engine::AlarmState& state = program.alarmState();
    ui::Windows& windows = program.windows();

    Program(Alarms alarms, Clock clock)
        : clock(clock)
        , program(toolkit,
                  clock == Clock::Stepped ? static_cast<engine::WallClock&>(stepped) : system,
                  beeper) {
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

    ui::MainForm& main() { return windows.reference<ui::MainForm>(); }

    // The time alarm armed for 23:30, which the stepped clock never reaches and the
    // system clock does not reach within a run; the interval beeping every 10 s; bells
    // far enough away that the presentation keeps running.
    void startAllAlarms() {
        const QString hour = clock == Clock::System ? QString::number((system.hour() + 2) % 24)
                                                    : QStringLiteral("23");
        const std::pair<const char*, QString> typed[] = {
            {"Form1.Text1", hour},  {"Form1.Text2", "30"},   {"Form2.Text3", "0"},
            {"Form2.Text1", "10"},  {"Form4.Text1", "500"},  {"Form4.Text2", "0"},
            {"Form4.Text3", "550"}, {"Form4.Text4", "30.5"}, {"Form4.Text5", "599"},
            {"Form4.Text6", "59"}};
        // loaded before their fields are typed in
        windows.reference<ui::Form1>(), windows.reference<ui::Form2>(),
            windows.reference<ui::Form4>();
        for (const auto& [field, text] : typed)
            for (QWidget* window : QApplication::topLevelWidgets())
                if (window->objectName() == QLatin1String(field, 5))
                    window->findChild<QLineEdit*>(field + 6)->setText(text);
        windows.reference<ui::Form1>().Command1_Click();
        windows.reference<ui::Form2>().Command1_Click();
        windows.reference<ui::Form4>().Command1_Click();
    }

    // One tick and, with paint, the event-loop turn that repaints: its time in seconds. Counted,
    // it is all that callgrind collects.
    double tick(bool paint, bool counted = false) {
        const auto start = std::chrono::steady_clock::now();
        if (counted)
            CALLGRIND_TOGGLE_COLLECT;
        main().Timer1_Timer();
        if (paint)
            QApplication::processEvents();
        if (counted)
            CALLGRIND_TOGGLE_COLLECT;
        const auto stop = std::chrono::steady_clock::now();
        QApplication::processEvents();
        stepped.advance();
        if (state.presCount > engine::Value{std::int16_t{30000}})
            windows.reference<ui::Form4>().Command1_Click();
        return std::chrono::duration<double>(stop - start).count();
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
    for (auto _ : bench) {
        samples.push_back(program.tick(paint) * 1e6);
        bench.SetIterationTime(samples.back() / 1e6);
    }
    if (alarms == Alarms::All && program.state.presOn != engine::Value{std::int16_t{1}})
        bench.SkipWithError("the presentation alarm stopped during the run");
    bench.counters["median_us"] = percentile(samples, 0.5);
    bench.counters["p99_us"] = percentile(samples, 0.99);
}

void registerTicks() {
    for (const std::string_view name :
         {"tick/no_alarm/stepped_clock", "tick/three_alarms/stepped_clock",
          "tick/no_alarm/system_clock", "tick/three_alarms/system_clock",
          "tick+paint/no_alarm/stepped_clock", "tick+paint/three_alarms/stepped_clock"}) {
        const Alarms alarms = name.find("three") != name.npos ? Alarms::All : Alarms::None;
        const Clock clock = name.find("system") != name.npos ? Clock::System : Clock::Stepped;
        const bool paint = name.starts_with("tick+paint");
        benchmark::RegisterBenchmark(
            name.data(), [=](benchmark::State& bench) { tickCost(bench, alarms, clock, paint); })
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

// One pause as the chime counts it, answering as the program's toolkit answers assistive
// technologies; fails unless both counters ran to their bounds.
void chimePauseCost(benchmark::State& bench) {
    const engine::ChimeBounds bounds;
    engine::AlarmState state;
    toolkit::qt::QtToolkit toolkit{[] {}};
    for (auto _ : bench)
        engine::chimePause(state, toolkit, bounds);
    if (state.chimeStep != engine::Value{static_cast<std::int32_t>(bounds.steps + 1)} ||
        state.chimeSpin != bounds.spins + 1)
        bench.SkipWithError("the pause stopped short of its count");
    bench.counters["s_per_step"] = benchmark::Counter(
        static_cast<double>(bounds.steps) * bounds.spins,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(chimePauseCost)->Unit(benchmark::kMillisecond)->Iterations(3);

int callgrind(std::string_view scenario, int ticks) {
    const Alarms alarms = scenario == "three_alarms" ? Alarms::All : Alarms::None;
    Program program(alarms, Clock::Stepped);
    // Ticks within a second: the captions and every coordinate keep their values.
    int steady = 0;
    for (int i = 0; i < ticks; ++i) {
        const bool within = !program.stepped.secondStarts();
        steady += within ? 1 : 0;
        program.tick(false, within);
    }
    CALLGRIND_DUMP_STATS_AT("steady");
    for (int i = 0; i < ticks; ++i)
        program.tick(false, true);
    CALLGRIND_DUMP_STATS_AT("tick");
    for (int i = 0; i < ticks; ++i)
        program.tick(true, true);
    CALLGRIND_DUMP_STATS_AT("tick+paint");
    std::printf("steady=%d tick=%d tick+paint=%d\n", steady, ticks, ticks);
    return alarms == Alarms::None || program.state.presOn == engine::Value{std::int16_t{1}} ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    if (argc == 4 && std::string_view(argv[1]) == "--callgrind")
        return callgrind(argv[2], std::atoi(argv[3]));
    registerTicks();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
