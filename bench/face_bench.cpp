// Cost of the face steps of one tick: readout, marks, hands and title, drawn on an
// in-memory surface from a clock that never moves.

#include "face/clock_face.h"
#include "face/dial.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>
#include <utility>

namespace {

class MemorySurface final : public face::Surface {
public:
    float ScaleWidth() override { return 7215; }
    float ScaleHeight() override { return 5385; }
    void setEnd(face::Line line, face::End end, float twips) override {
        ends_[static_cast<int>(line)][static_cast<int>(end)] = twips;
    }
    void setReadout(std::string_view caption) override { readout_ = caption; }
    void setTitle(std::string_view caption) override { title_ = caption; }

private:
    std::array<std::array<float, 4>, face::lineCount> ends_{};
    std::string readout_;
    std::string title_;
};

class StillClock final : public engine::WallClock {
public:
    int hour() override { return now_.hour; }
    int minute() override { return now_.minute; }
    int second() override { return now_.second; }
    engine::LocalDateTime now() override { return now_; }

private:
    engine::LocalDateTime now_{2026, 12, 5, 21, 56, 38};
};

void faceSteps(benchmark::State& state, QLocale locale) {
    MemorySurface surface;
    StillClock clock;
    face::ClockFace clockFace(surface, clock, std::move(locale));
    for (auto _ : state) {
        clockFace.ShowDigitalTime();
        clockFace.DrawDialMarks();
        clockFace.DrawHands();
        clockFace.ShowTitle();
        benchmark::ClobberMemory();
    }
}

void dialOnly(benchmark::State& state) {
    MemorySurface surface;
    StillClock clock;
    for (auto _ : state) {
        face::DrawDialMarks(surface);
        face::DrawHands(surface, clock);
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK_CAPTURE(faceSteps, ja_JP, QLocale(QLocale::Japanese, QLocale::Japan));
BENCHMARK_CAPTURE(faceSteps, en_US, QLocale(QLocale::English, QLocale::UnitedStates));
BENCHMARK(dialOnly);

BENCHMARK_MAIN();
