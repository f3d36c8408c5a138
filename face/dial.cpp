#include "face/dial.h"

#include "engine/run_time_error.h"

#include <array>
#include <cmath>
#include <span>

namespace face {

namespace {

using engine::RunTimeError;

enum class Axis { Width, Height };
constexpr Axis W = Axis::Width;
constexpr Axis H = Axis::Height;

float size(Surface& surface, Axis axis) {
    return axis == Axis::Width ? surface.ScaleWidth() : surface.ScaleHeight();
}

// size × multiplier / divisor in double precision, rounded once to single precision. Told
// from the result rather than the floating-point status, whose reading costs MinGW's run-time
// a CPUID instruction at every call, and a virtual machine a trap at each.
float checkedQuotient(float size, int multiplier, int divisor) {
    const double quotient = static_cast<double>(size) * multiplier / divisor;
    // Dividing an infinite or NaN size is just as unusable as 0 / 0.
    if (std::isnan(quotient))
        throw RunTimeError(RunTimeError::Kind::InvalidOperation, "invalid operation");
    if (divisor == 0 && std::isfinite(size))
        throw RunTimeError(RunTimeError::Kind::DivisionByZero, "division by zero");
    if (std::isinf(quotient))
        throw RunTimeError(RunTimeError::Kind::Overflow, "overflow");
    return static_cast<float>(quotient);
}

// One coordinate of a mark: 0, the full width or height, or a fraction of it.
struct MarkCoordinate {
    enum class Kind { Zero, Edge, Fraction } kind;
    Axis axis = W;
    int multiplier = 1;
    int divisor = 1;
};

constexpr MarkCoordinate zero{MarkCoordinate::Kind::Zero};
constexpr MarkCoordinate edge(Axis axis) { return {MarkCoordinate::Kind::Edge, axis}; }
constexpr MarkCoordinate fraction(Axis axis, int multiplier, int divisor) {
    return {MarkCoordinate::Kind::Fraction, axis, multiplier, divisor};
}

float evaluate(Surface& surface, const MarkCoordinate& coordinate) {
    switch (coordinate.kind) {
    case MarkCoordinate::Kind::Zero: return 0.0f;
    case MarkCoordinate::Kind::Edge: return size(surface, coordinate.axis);
    case MarkCoordinate::Kind::Fraction: break;
    }
    return checkedQuotient(size(surface, coordinate.axis), coordinate.multiplier,
                           coordinate.divisor);
}

struct Mark {
    Line line;
    std::array<MarkCoordinate, 4> ends; // X1, Y1, X2, Y2
};

constexpr std::array<Mark, 4> marks{{
    {Line::Line9, {fraction(W, 1, 2), fraction(H, 1, 32), fraction(W, 1, 2), zero}},
    {Line::Line10, {fraction(W, 31, 32), fraction(H, 1, 2), edge(W), fraction(H, 1, 2)}},
    {Line::Line11, {fraction(W, 1, 2), fraction(H, 31, 32), fraction(W, 1, 2), edge(H)}},
    {Line::Line12, {zero, fraction(H, 1, 2), fraction(W, 1, 32), fraction(H, 1, 2)}},
}};

// One end coordinate of a hand: 0, the full width or height, or a number of steps along
// an edge. The number of steps is offset + slope × v for the hand's value v.
struct HandCoordinate {
    enum class Kind { Zero, Edge, Steps } kind;
    Axis axis = W;
    int offset = 0;
    int slope = 0;
};

constexpr HandCoordinate none{HandCoordinate::Kind::Zero};
constexpr HandCoordinate full(Axis axis) { return {HandCoordinate::Kind::Edge, axis}; }
constexpr HandCoordinate steps(Axis axis, int offset, int slope) {
    return {HandCoordinate::Kind::Steps, axis, offset, slope};
}

struct HandRow {
    int low;  // inclusive
    int high; // inclusive
    HandCoordinate x2;
    HandCoordinate y2;
};

// Sixteenths of each edge; 0 is straight up and the values run clockwise.
constexpr std::array<HandRow, 5> sixtyRows{{
    {0, 7, steps(W, 8, 1), none},
    {8, 22, full(W), steps(H, -7, 1)},
    {23, 37, steps(W, 38, -1), full(H)},
    {38, 52, none, steps(H, 53, -1)},
    {53, 60, steps(W, -52, 1), none},
}};

// Quarters of each edge; hour v and hour v + 12 share a position.
constexpr std::array<HandRow, 9> hourRows{{
    {0, 1, steps(W, 2, 1), none},
    {2, 4, full(W), steps(H, -1, 1)},
    {5, 7, steps(W, 8, -1), full(H)},
    {8, 10, none, steps(H, 11, -1)},
    {11, 13, steps(W, -10, 1), none},
    {14, 16, full(W), steps(H, -13, 1)},
    {17, 19, steps(W, 20, -1), full(H)},
    {20, 22, none, steps(H, 23, -1)},
    {23, 23, steps(W, 1, 0), none},
}};

struct Hand {
    Line line;
    int (engine::WallClock::*value)();
    int stepsPerEdge;
    std::span<const HandRow> rows;
};

constexpr std::array<Hand, 3> hands{{
    {Line::Line1, &engine::WallClock::second, 16, sixtyRows},
    {Line::Line2, &engine::WallClock::minute, 16, sixtyRows},
    {Line::Line3, &engine::WallClock::hour, 4, hourRows},
}};

float evaluate(Surface& surface, const HandCoordinate& coordinate, int stepsPerEdge, int value) {
    switch (coordinate.kind) {
    case HandCoordinate::Kind::Zero: return 0.0f;
    case HandCoordinate::Kind::Edge: return size(surface, coordinate.axis);
    case HandCoordinate::Kind::Steps: break;
    }
    const float unit = checkedQuotient(size(surface, coordinate.axis), 1, stepsPerEdge);
    const int count = coordinate.offset + coordinate.slope * value;
    return static_cast<float>(static_cast<double>(unit) * count);
}

const HandRow& rowFor(std::span<const HandRow> rows, int value) {
    for (const HandRow& row : rows) {
        if (row.low <= value && value <= row.high)
            return row;
    }
    // A clock value off the dial would place the hand off the client area.
    throw RunTimeError(RunTimeError::Kind::InvalidOperation, "clock value off the dial");
}

} // namespace

void DrawDialMarks(Surface& surface) {
    for (const Mark& mark : marks) {
        for (int end = 0; end < 4; ++end)
            surface.setEnd(mark.line, static_cast<End>(end), evaluate(surface, mark.ends[end]));
    }
}

void DrawHands(Surface& surface, engine::WallClock& clock) {
    for (const Hand& hand : hands) {
        surface.setEnd(hand.line, End::X1, evaluate(surface, fraction(W, 1, 2)));
        surface.setEnd(hand.line, End::Y1, evaluate(surface, fraction(H, 1, 2)));
        const int value = (clock.*hand.value)();
        const HandRow& row = rowFor(hand.rows, value);
        surface.setEnd(hand.line, End::X2, evaluate(surface, row.x2, hand.stepsPerEdge, value));
        surface.setEnd(hand.line, End::Y2, evaluate(surface, row.y2, hand.stepsPerEdge, value));
    }
}

} // namespace face
