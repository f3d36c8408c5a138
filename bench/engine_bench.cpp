// Cost of the engine's tick and length of the chime's counted pause.

#include "engine/commands.h"
#include "engine/tick.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

using engine::Field;

constexpr long long tenOClock = 10 * 3600 * 1000LL;
constexpr long long twentyOClock = 20 * 3600 * 1000LL;

// A clock that moves 100 ms per tick, and ports that do nothing.
class Quiet final : public engine::WallClock,
                    public engine::Beeper,
                    public engine::Dialogs,
                    public engine::FaceSteps {
public:
    long long ms = tenOClock;
    std::map<Field, std::string> fields;

    int hour() override { return static_cast<int>(ms / 3600000 % 24); }
    int minute() override { return static_cast<int>(ms / 60000 % 60); }
    int second() override { return static_cast<int>(ms / 1000 % 60); }
    engine::LocalDateTime now() override { return {2024, 1, 1, hour(), minute(), second()}; }
    void beep() override {}
    std::string fieldText(Field field) override { return fields[field]; }
    void setNotice(std::string_view) override {}
    void ShowDigitalTime() override {}
    void DrawDialMarks() override {}
    void DrawHands() override {}
    void ShowTitle() override {}
};

// All three alarms running: the time alarm armed for an hour that the clock never reaches
// (it runs 10:00 to 20:00 over and over), the interval beeping every 10 s, the bells far
// enough away that the run never ends.
void engineTick(benchmark::State& bench) {
    Quiet world;
    world.fields = {{Field::Form1_Text1, "23"}, {Field::Form1_Text2, "30"},
                    {Field::Form2_Text3, "0"},  {Field::Form2_Text1, "10"},
                    {Field::Form4_Text1, "50"}, {Field::Form4_Text2, "0"},
                    {Field::Form4_Text3, "55"}, {Field::Form4_Text4, "30.5"},
                    {Field::Form4_Text5, "59"}, {Field::Form4_Text6, "59"}};
    engine::AlarmState state;
    engine::TickPorts ports{world, world, world, world};
    engine::resetAlarms(state);
    engine::noteStartSecond(state, world);
    engine::setAlarmTime(state, world, world);
    engine::startPresentation(state, world, world);
    engine::startInterval(state, world, world);
    for (auto _ : bench) {
        engine::runTickSteps(state, ports);
        world.ms = world.ms + 100 < twentyOClock ? world.ms + 100 : tenOClock;
        if (state.presCount > engine::Value{std::int16_t{2900}}) {
            engine::startPresentation(state, world, world);
        }
    }
}
BENCHMARK(engineTick);

// One pause as the product counts it. Fails unless both counters ran to their bounds.
void countedPause(benchmark::State& bench, engine::ChimeBounds bounds) {
    engine::AlarmState state;
    for (auto _ : bench) {
        engine::chimePause(state, bounds);
    }
    if (state.chimeStep != engine::Value{static_cast<std::int32_t>(bounds.steps + 1)} ||
        state.chimeSpin != bounds.spins + 1) {
        bench.SkipWithError("the pause stopped short of its count");
    }
    const double steps = static_cast<double>(bounds.steps) * bounds.spins;
    bench.counters["final_spin"] = state.chimeSpin;
    bench.counters["s_per_step"] = benchmark::Counter(
        steps, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    bench.SetComplexityN(static_cast<std::int64_t>(steps));
}

void chimePauseCost(benchmark::State& bench) { countedPause(bench, engine::ChimeBounds{}); }
BENCHMARK(chimePauseCost)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same pause with a shorter inner count: the time must grow with the count.
void chimePauseScaling(benchmark::State& bench) {
    countedPause(bench, {5, 100, static_cast<std::int32_t>(bench.range(0))});
}
BENCHMARK(chimePauseScaling)
    ->Unit(benchmark::kMicrosecond)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 20)
    ->Complexity(benchmark::oN);

} // namespace

BENCHMARK_MAIN();
