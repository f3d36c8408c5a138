#include "face/clock_face.h"

#include "face/dial.h"
#include "face/readout.h"
#include "face/title.h"

namespace face {

ClockFace::ClockFace(Surface& surface, engine::WallClock& clock, RegionalSettings& settings)
    : surface_(surface)
    , clock_(clock)
    , settings_(settings) {}

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
    const engine::LocalDateTime now = clock_.now();
    if (title_.empty() || now != titleTime_) {
        title_ = titleText(now, settings_);
        titleTime_ = now;
    }
    surface_.setTitle(title_);
}

} // namespace face
