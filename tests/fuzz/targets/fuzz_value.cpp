// The readings of a text as a number, against references built on the C library: the
// whole text as a decimal (strtod on what a regular expression accepts), its leading
// number, full-width forms, and the conversions and sums of the dynamic value.

#include "engine/value.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>
#include <regex>
#include <string>

using engine::Value;

namespace {

void Require(bool condition, const char* what, const std::string& text) {
    if (!condition) {
        std::fprintf(stderr, "property failed: %s for text \"%s\"\n", what, text.c_str());
        std::abort();
    }
}

bool Finite(std::optional<double> d) { return !d || std::isfinite(*d); }

// strtod of a text already known to be a plain decimal; nullopt when it overflows.
std::optional<double> ReferenceDecimal(const std::string& text) {
    errno = 0;
    const double d = std::strtod(text.c_str(), nullptr);
    if (errno == ERANGE && std::isinf(d)) {
        return std::nullopt;
    }
    return d;
}

const char* const kDecimal = R"([+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?)";

std::optional<double> ReferenceWholeText(const std::string& ascii) {
    static const std::regex decimal(kDecimal);
    const auto first = ascii.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return std::nullopt;
    }
    const std::string body = ascii.substr(first, ascii.find_last_not_of(" \t") - first + 1);
    return std::regex_match(body, decimal) ? ReferenceDecimal(body) : std::nullopt;
}

// nullopt also when the reference cannot tell the exact value (long hexadecimal or octal
// digit strings beyond 2^53); the caller then only checks finiteness.
std::optional<std::optional<double>> ReferenceLeading(const std::string& ascii) {
    std::string s;
    for (const char c : ascii) {
        if (c != ' ' && c != '\t' && c != '\n') {
            s += c;
        }
    }
    if (s.size() >= 2 && s[0] == '&') {
        const char kind = static_cast<char>(s[1] | 0x20);
        if (kind == 'h' || kind == 'o') {
            const char* digits = kind == 'h' ? "0123456789abcdefABCDEF" : "01234567";
            const std::string run = s.substr(2, s.find_first_not_of(digits, 2) - 2);
            if (run.size() > (kind == 'h' ? 13U : 17U)) {
                return std::nullopt;
            }
            return std::optional<double>{
                run.empty() ? 0.0
                            : double(std::strtoull(run.c_str(), nullptr, kind == 'h' ? 16 : 8))};
        }
    }
    static const std::regex leading(std::string("^") + kDecimal);
    std::smatch match;
    if (!std::regex_search(s, match, leading)) {
        return std::optional<double>{0.0};
    }
    return ReferenceDecimal(match.str());
}

// The text with some of its characters in their full-width forms, chosen by mask.
std::string Widen(const std::string& ascii, std::uint64_t mask) {
    std::string wide;
    for (std::size_t i = 0; i < ascii.size(); ++i) {
        const auto c = static_cast<unsigned char>(ascii[i]);
        if (((mask >> (i % 64)) & 1U) == 0 || c < 0x20 || c > 0x7E) {
            wide += static_cast<char>(c);
        } else if (c == ' ') {
            wide += "\xE3\x80\x80";
        } else {
            const unsigned code = 0xFF01 + (c - 0x21);
            wide += static_cast<char>(0xE0 | (code >> 12));
            wide += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            wide += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return wide;
}

// Integer sums and products widen 16 -> 32 bits -> double and are exact.
void CheckIntegerArithmetic(FuzzedDataProvider& in) {
    const auto a16 = in.ConsumeIntegral<std::int16_t>();
    const auto b16 = in.ConsumeIntegral<std::int16_t>();
    const auto a32 = in.ConsumeIntegral<std::int32_t>();
    const auto b32 = in.ConsumeIntegral<std::int32_t>();
    const auto expectKind = [](const std::optional<Value>& r, long long exact, bool narrow) {
        const bool fits16 = exact >= INT16_MIN && exact <= INT16_MAX;
        const bool fits32 = exact >= INT32_MIN && exact <= INT32_MAX;
        const std::size_t kind = narrow && fits16 ? 1 : fits32 ? 2 : 3;
        Require(r && r->storage().index() == kind, "integer result kind", std::to_string(exact));
        Require(*r == Value{static_cast<double>(exact)}, "integer result value",
                std::to_string(exact));
    };
    expectKind(engine::Add(Value{a16}, Value{b16}), a16 + b16, true);
    expectKind(engine::Multiply(Value{a16}, Value{b16}), a16 * b16, true);
    expectKind(engine::Add(Value{a32}, Value{b16}), 1LL * a32 + b16, false);
    expectKind(engine::Add(Value{a32}, Value{b32}), 1LL * a32 + b32, false);
    expectKind(engine::Multiply(Value{a32}, Value{b32}), 1LL * a32 * b32, false);
    expectKind(engine::Add(Value{}, Value{a16}), a16, true);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    CheckIntegerArithmetic(in);
    const auto mask = in.ConsumeIntegral<std::uint64_t>();
    const std::string text = in.ConsumeRemainingBytesAsString();

    const auto decimal = engine::ReadDecimal(text);
    const auto leading = engine::LeadingNumber(text);
    Require(Finite(decimal) && Finite(leading), "finite or no number", text);
    Require(Value{text}.toDouble() == decimal, "Value reads its text as ReadDecimal", text);

    const std::string folded = engine::FoldFullWidth(text);
    Require(engine::FoldFullWidth(folded) == folded, "folding twice changes nothing", text);
    Require(engine::ReadDecimal(folded) == decimal, "decimal of the folded text", text);
    Require(engine::LeadingNumber(folded) == leading, "leading number of the folded text", text);

    // Halves to even, as the C library rounds in its default mode.
    const auto whole = Value{text}.toInt32();
    if (decimal && std::nearbyint(*decimal) >= INT32_MIN && std::nearbyint(*decimal) <= INT32_MAX) {
        Require(whole == static_cast<std::int32_t>(std::nearbyint(*decimal)), "toInt32", text);
    } else {
        Require(!whole, "toInt32 out of range", text);
    }

    const auto product = engine::Multiply(Value{text}, Value{std::int16_t{60}});
    const bool productExists = decimal && std::isfinite(*decimal * 60);
    Require(product.has_value() == productExists, "text x 60 exists", text);
    Require(!product || *product == Value{*decimal * 60}, "text x 60", text);

    // The references cover short ASCII texts.
    if (text.size() > 64 ||
        std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; })) {
        return 0;
    }
    Require(decimal == ReferenceWholeText(text), "decimal agrees with strtod", text);
    if (const auto reference = ReferenceLeading(text)) {
        Require(leading == *reference, "leading number agrees with strtod", text);
    }
    const std::string wide = Widen(text, mask);
    Require(engine::FoldFullWidth(wide) == text, "full-width folds back", text);
    Require(engine::ReadDecimal(wide) == decimal, "full-width decimal", text);
    Require(engine::LeadingNumber(wide) == leading, "full-width leading number", text);
    return 0;
}
