#include "face/readout.h"

#include <charconv>

namespace face {

std::string readoutText(int hour, int minute, int second) {
    // Written in place: the usual "23:59:59" then fits the string's own small buffer, so
    // the tick allocates nothing for it.
    constexpr int widest = 11; // "-2147483648"
    char text[3 * (widest + 1)];
    char* at = std::to_chars(text, text + widest, hour).ptr;
    *at = ':';
    at = std::to_chars(at + 1, at + 1 + widest, minute).ptr;
    *at = ':';
    at = std::to_chars(at + 1, at + 1 + widest, second).ptr;
    return {text, at};
}

} // namespace face
