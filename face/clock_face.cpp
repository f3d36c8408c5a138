#include "face/clock_face.h"

#include "face/dial.h"
#include "face/readout.h"

#include <utility>

namespace face {

ClockFace::ClockFace(Surface& surface, engine::WallClock& clock, QLocale locale)
    : surface_(surface)
    , clock_(clock)
    , title_(std::move(locale)) {}

void ClockFace::ShowDigitalTime() {
    // Three separate readings, in this order: the readout may straddle a change of minute.
    const int hour = clock_.hour();
    const int minute = clock_.minute();
    const int second = clock_.second();
    surface_.setReadout(readoutText(hour, minute, second));
}

void ClockFace::DrawDialMarks() { face::DrawDialMarks(surface_); }

void ClockFace::DrawHands() { face::DrawHands(surface_, clock_); }

void ClockFace::ShowTitle() {
    title_.write(titleText_, clock_.now());
    surface_.setTitle(titleText_);
}

} // namespace face
