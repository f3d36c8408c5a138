#pragma once

#include "engine/ports.h"
#include "face/surface.h"
#include "face/title.h"

#include <QLocale>

#include <string>

namespace face {

// The four clock-face steps of the tick, drawn on one surface from one wall clock.
class ClockFace final : public engine::FaceSteps {
public:
    ClockFace(Surface& surface, engine::WallClock& clock, QLocale locale);

    void ShowDigitalTime() override;
    void DrawDialMarks() override;
    void DrawHands() override;
    void ShowTitle() override;

private:
    Surface& surface_;
    engine::WallClock& clock_;
    TitleFormat title_;
    std::string titleText_; // storage reused by every tick's title
};

} // namespace face
