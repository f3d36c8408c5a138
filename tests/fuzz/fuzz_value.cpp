// The readings of a text as a number: finite or none, and the same for the text with any of
// its characters in their full-width forms.

#include "engine/value.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto decimal = engine::ReadDecimal(text), leading = engine::LeadingNumber(text);
    std::string
        wide; // printable ASCII as full-width forms, the blank as U+3000, by the input's bits
    for (std::size_t i = 0; i < size; ++i) {
        const char c = text[i];
        const unsigned u = c == ' ' ? 0x3000 : 0xFF01 + unsigned(c) - 0x21;
        wide += c < ' ' || c > '~' || data[size - 1 - i] & 1
                    ? std::string(1, c)
                    : std::string{char(0xE0 | u >> 12), char(0x80 | (u >> 6 & 0x3F)),
                                  char(0x80 | (u & 0x3F))};
    }
    if ((decimal && !std::isfinite(*decimal)) || (leading && !std::isfinite(*leading)) ||
        engine::Value{text}.toDouble() != decimal || engine::ReadDecimal(wide) != decimal ||
        engine::LeadingNumber(wide) != leading ||
        engine::FoldFullWidth(wide) != engine::FoldFullWidth(text))
        std::abort();
    return 0;
}
