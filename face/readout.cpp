#include "face/readout.h"

namespace face {

std::string readoutText(int hour, int minute, int second) {
    return std::to_string(hour) + ':' + std::to_string(minute) + ':' + std::to_string(second);
}

} // namespace face
