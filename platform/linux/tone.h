#pragma once

#include <cstdint>
#include <vector>

namespace platform {

struct ToneShape {
    int sampleRate = 48000;
    double frequency = 880.0;
    double seconds = 0.12;
    double ramp = 0.006; // fade in and out, so that the tone starts and ends without a click
    double level = 0.4;  // of full scale
};

// One beep as signed 16-bit mono samples.
std::vector<std::int16_t> synthesizeTone(const ToneShape& shape = {});

} // namespace platform
