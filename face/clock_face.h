#pragma once

#include "engine/ports.h"
#include "face/surface.h"
#include "face/title.h"

#include <string>

namespace face {

// The four clock-face steps of the tick, drawn on one surface from one wall clock.
class ClockFace final : public engine::FaceSteps {
public:
    ClockFace(Surface& surface, engine::WallClock& clock, RegionalSettings& settings);

    void ShowDigitalTime() override;
    void DrawDialMarks() override;
    void DrawHands() override;
    void ShowTitle() override;

private:
    Surface& surface_;
    engine::WallClock& clock_;
    RegionalSettings& settings_;
    // The title of the last reading: nine ticks in ten read the same second, and the
    // regional settings' formatting is worth doing only when it changes.
    engine::LocalDateTime titleTime_{};
    std::string title_;
};

} // namespace face
