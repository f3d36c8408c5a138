#pragma once

#include <string>

namespace face {

// The digital readout: hour, minute and second in decimal without leading zeros,
// separated by colons ("9:5:3").
std::string readoutText(int hour, int minute, int second);

} // namespace face
