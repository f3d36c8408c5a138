#include "face/dial.h"

#include "engine/run_time_error.h"

#include <array>
#include <cmath>

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

// One coordinate of a line's end: 0, the full width or height, or a count of parts of it, each
// part multiplier / divisor of it rounded to single precision.
struct Coordinate {
    enum class Kind { Zero, Edge, Parts } kind;
    Axis axis = W;
    int multiplier = 1, divisor = 1;
    int count = 1;
};

constexpr Coordinate zero{Coordinate::Kind::Zero};
constexpr Coordinate edge(Axis axis) { return {Coordinate::Kind::Edge, axis}; }
constexpr Coordinate fraction(Axis axis, int multiplier, int divisor) {
    return {Coordinate::Kind::Parts, axis, multiplier, divisor};
}
constexpr Coordinate steps(Axis axis, int count, int perEdge) {
    return {Coordinate::Kind::Parts, axis, 1, perEdge, count};
}

float evaluate(Surface& surface, const Coordinate& coordinate) {
    switch (coordinate.kind) {
    case Coordinate::Kind::Zero: return 0.0f;
    case Coordinate::Kind::Edge: return size(surface, coordinate.axis);
    case Coordinate::Kind::Parts: break;
    }
    const float part =
        checkedQuotient(size(surface, coordinate.axis), coordinate.multiplier, coordinate.divisor);
    return static_cast<float>(static_cast<double>(part) * coordinate.count);
}

struct Mark {
    Line line;
    std::array<Coordinate, 4> ends; // X1, Y1, X2, Y2
};

constexpr std::array<Mark, 4> marks{{
    {Line::Line9, {fraction(W, 1, 2), fraction(H, 1, 32), fraction(W, 1, 2), zero}},
    {Line::Line10, {fraction(W, 31, 32), fraction(H, 1, 2), edge(W), fraction(H, 1, 2)}},
    {Line::Line11, {fraction(W, 1, 2), fraction(H, 31, 32), fraction(W, 1, 2), edge(H)}},
    {Line::Line12, {zero, fraction(H, 1, 2), fraction(W, 1, 32), fraction(H, 1, 2)}},
}};

// A hand's end steps clockwise along the border from straight up, perEdge - 1 steps of
// 1/perEdge along each edge between its corners: sixteenths for the second and the minute,
// quarters for the hour, whose hours v and v + 12 share a position.
struct Hand {
    Line line;
    int (engine::WallClock::*value)();
    int perEdge;
    int last; // the largest value on the dial
};

constexpr std::array<Hand, 3> hands{{
    {Line::Line1, &engine::WallClock::second, 16, 60},
    {Line::Line2, &engine::WallClock::minute, 16, 60},
    {Line::Line3, &engine::WallClock::hour, 4, 23},
}};

std::array<Coordinate, 2> handEnd(const Hand& hand, int value) {
    // A clock value off the dial would place the hand off the client area.
    if (value < 0 || value > hand.last)
        throw RunTimeError(RunTimeError::Kind::InvalidOperation, "clock value off the dial");
    const int perSide = hand.perEdge - 1;
    // Steps clockwise from the first past the top-left corner; value 0 is the middle of the top.
    const int along = (value + hand.perEdge / 2 - 1) % (4 * perSide);
    const int step = along % perSide + 1;
    const int back = hand.perEdge - step;
    switch (along / perSide) {
    case 0: return {steps(W, step, hand.perEdge), zero};
    case 1: return {edge(W), steps(H, step, hand.perEdge)};
    case 2: return {steps(W, back, hand.perEdge), edge(H)};
    default: return {zero, steps(H, back, hand.perEdge)};
    }
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
        const auto [x2, y2] = handEnd(hand, (clock.*hand.value)());
        surface.setEnd(hand.line, End::X2, evaluate(surface, x2));
        surface.setEnd(hand.line, End::Y2, evaluate(surface, y2));
    }
}

} // namespace face
