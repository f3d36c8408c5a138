// The value rules: texts read as numbers, sums and products that widen, and the
// conversion to 32 bits.

#include "engine/value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>

using engine::Value;

namespace {

// A number read, to be compared exactly and with the sign of a zero.
std::optional<std::pair<double, bool>> exactly(std::optional<double> d) {
    return d ? std::optional(std::pair(*d, std::signbit(*d))) : std::nullopt;
}

constexpr auto u = std::nullopt;

// A text, the whole of it read as a decimal, its leading number. Full-width forms read as
// their ASCII twins.
const std::tuple<std::string, std::optional<double>, std::optional<double>> texts[] = {
    // clang-format off
    {"7", 7, 7}, {" \t-7.5 ", -7.5, -7.5}, {"7時", u, 7}, {"1 2", u, 12}, {"\n1\n2", u, 12},
    {"", u, 0}, {"  ", u, 0}, {"abc", u, 0}, {"-", u, 0}, {"+5", 5, 5}, {".5", 0.5, 0.5},
    {"5.", 5, 5}, {"1.2.3", u, 1.2}, {"-3e2", -300, -300}, {"7e", u, 7}, {"7e+", u, 7},
    {"1e308", 1e308, 1e308}, {"1e999", u, u}, {"-1e999", u, u}, {"1e-999", 0, 0},
    {"&H1F", u, 31}, {"&hff", u, 255}, {"&O17", u, 15}, {"&O9", u, 0}, {"&O8", u, 0},
    {"&O78", u, 7}, {"&H7時", u, 7}, {"&H1G", u, 1}, {"&H", u, 0}, {"inf", u, 0}, {"nan", u, 0},
    {"0x10", u, 0}, {"１２", 12, 12}, {"　７　", 7, 7}, {"－３．５", -3.5, -3.5},
    {"＋１ｅ３", 1000, 1000}, {"＆Ｈ１Ｆ", u, 31}, {"＆ｏ１７", u, 15}, {"ＡＢＣ", u, 0},
    {"７時", u, 7}, {"、７", u, 0}};
// clang-format on

std::optional<Value::Storage> held(const std::optional<Value>& v) {
    return v ? std::optional(v->storage()) : std::nullopt;
}

} // namespace

// The whole text as one decimal number, as a Value holding the text reads too.
TEST(Value, ReadsAWholeTextAsADecimal) {
    for (const auto& [text, decimal, leading] : texts) {
        EXPECT_EQ(exactly(engine::readDecimal(text)), exactly(decimal)) << text;
        EXPECT_EQ(exactly(Value{text}.toDouble()), exactly(decimal)) << text;
    }
}

TEST(Value, ReadsTheLeadingNumberOfAText) {
    for (const auto& [text, decimal, leading] : texts)
        EXPECT_EQ(exactly(engine::leadingNumber(text)), exactly(leading)) << text;
}

// Integer sums and products stay integers and widen 16 -> 32 bits -> double; empty is 0
// and a text reads as a decimal. Compared by kind and value.
TEST(Value, SumsAndProductsWiden) {
    const Value one{std::int16_t{1}}, sixty{60.0};
    const auto text = [](const char* t) { return Value{std::string(t)}; };
    // clang-format off
    const std::pair<std::optional<Value>, std::optional<Value>> rows[] = {
        {add(Value{std::int16_t{32767}}, one), Value{std::int32_t{32768}}},
        {add(Value{std::int32_t{2147483647}}, one), Value{2147483648.0}}, {add(Value{}, one), one},
        {add(text("1.5"), one), Value{2.5}}, {add(text("abc"), one), u},
        {multiply(text("２"), sixty), Value{120.0}}, {multiply(text("1e308"), sixty), u}};
    // clang-format on
    for (const auto& [got, expected] : rows)
        EXPECT_EQ(held(got), held(expected));
}

TEST(Value, ConvertsTo32BitsRoundingHalvesToEven) {
    // clang-format off
    const std::pair<Value, std::optional<std::int32_t>> rows[] = {{Value{2.5}, 2}, {Value{3.5}, 4},
        {Value{-2.5}, -2}, {Value{2147483647.5}, u}, {Value{std::string("2.5")}, 2}};
    // clang-format on
    for (const auto& [value, expected] : rows)
        EXPECT_EQ(value.toInt32(), expected);
}
