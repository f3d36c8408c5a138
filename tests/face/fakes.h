#pragma once

// A surface and a clock that record every call in one shared log, so a test can check
// both the values assigned and the order of reads and assignments.

#include "engine/ports.h"
#include "engine/run_time_error.h"
#include "face/surface.h"

#include <QTest>

#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace facetest {

using Log = std::vector<std::string>;

inline std::string name(face::Line line, face::End end) {
    static constexpr std::array lines{"Line1",  "Line2",  "Line3", "Line9",
                                      "Line10", "Line11", "Line12"};
    static constexpr std::array ends{"X1", "Y1", "X2", "Y2"};
    return std::string(lines[static_cast<int>(line)]) + '.' + ends[static_cast<int>(end)];
}

class RecordingSurface final : public face::Surface {
public:
    RecordingSurface(Log& log, float width, float height)
        : log_(log)
        , width_(width)
        , height_(height) {}

    // From the given read on, every size read returns `size` instead.
    void changeSizeAtRead(int read, float size) {
        changeAt_ = read;
        changed_ = size;
    }

    float ScaleWidth() override { return read("W", width_); }
    float ScaleHeight() override { return read("H", height_); }
    void setEnd(face::Line line, face::End end, float twips) override {
        log_.push_back(name(line, end));
        ends[name(line, end)] = twips;
    }
    void setReadout(std::string_view caption) override { readout = caption; }
    void setTitle(std::string_view caption) override { title = caption; }

    std::map<std::string, double> ends; // double, so QCOMPARE is exact for floats
    std::string readout;
    std::string title;

private:
    float read(const char* what, float size) {
        log_.push_back(what);
        return reads_++ >= changeAt_ ? changed_ : size;
    }

    Log& log_;
    float width_;
    float height_;
    int reads_ = 0;
    int changeAt_ = std::numeric_limits<int>::max();
    float changed_ = 0;
};

class FixedClock final : public engine::WallClock {
public:
    explicit FixedClock(Log& log, engine::LocalDateTime at = {})
        : log_(log)
        , at_(at) {}

    int hour() override { return logged("hour", at_.hour); }
    int minute() override { return logged("minute", at_.minute); }
    int second() override { return logged("second", at_.second); }
    engine::LocalDateTime now() override {
        log_.push_back("now");
        return at_;
    }

private:
    int logged(const char* what, int value) {
        log_.push_back(what);
        return value;
    }

    Log& log_;
    engine::LocalDateTime at_;
};

// Runs a step that must fail with the given kind of fault, then checks that exactly the
// coordinates assigned before the fault hold values, and finite ones.
template <class Step>
void expectFault(Step step, const RecordingSurface& surface, engine::RunTimeError::Kind kind,
                 int assigned) {
    try {
        step();
        QFAIL("no run-time error");
    } catch (const engine::RunTimeError& error) {
        QCOMPARE(error.kind(), kind);
    }
    QCOMPARE(int(surface.ends.size()), assigned);
    for (const auto& [coordinate, value] : surface.ends)
        QVERIFY2(std::isfinite(value), coordinate.c_str());
}

} // namespace facetest
