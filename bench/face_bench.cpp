// Cost of the face steps of one tick: readout, marks, hands and title, drawn on an
// in-memory surface from a clock that never moves.

#include "face/clock_face.h"
#include "face/dial.h"

#include <benchmark/benchmark.h>

#include <array>
#include <string>

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

// Regional settings that cost next to nothing, so that the face's own work shows.
class PlainSettings final : public face::RegionalSettings {
public:
    std::string shortDate(const engine::LocalDateTime& when) override {
        return std::to_string(when.year) + '/' + std::to_string(when.month) + '/' +
               std::to_string(when.day);
    }
    std::string longTime(const engine::LocalDateTime& when) override {
        return std::to_string(when.hour) + ':' + std::to_string(when.minute) + ':' +
               std::to_string(when.second);
    }
};

void faceSteps(benchmark::State& state) {
    MemorySurface surface;
    StillClock clock;
    PlainSettings settings;
    face::ClockFace clockFace(surface, clock, settings);
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

BENCHMARK(faceSteps);
BENCHMARK(dialOnly);

BENCHMARK_MAIN();
