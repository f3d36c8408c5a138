#include "platform/linux/tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace platform {

std::vector<std::int16_t> synthesizeTone(const ToneShape& shape) {
    const auto count = static_cast<std::size_t>(std::lround(shape.seconds * shape.sampleRate));
    const double rampSamples = std::max(1.0, shape.ramp * shape.sampleRate);
    std::vector<std::int16_t> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double fromEdge = static_cast<double>(std::min(i, count - 1 - i));
        const double envelope = std::min(1.0, fromEdge / rampSamples);
        const double phase =
            2.0 * std::numbers::pi * shape.frequency * static_cast<double>(i) / shape.sampleRate;
        samples[i] = static_cast<std::int16_t>(
            std::lround(32767.0 * shape.level * envelope * std::sin(phase)));
    }
    return samples;
}

} // namespace platform
