// The value rules: texts read as numbers, sums and products that widen, and the
// conversion to 32 bits.

#include "../cells.h"

#include "engine/value.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using engine::Value;

namespace {

std::string show(std::optional<double> d) {
    char text[32] = "u";
    if (d)
        std::snprintf(text, sizeof text, "%.15g", *d);
    return text;
}

// What a value holds, as "i16 5", "i32 5", "d 2.5", "e" for empty or "u" for no value.
std::string show(const std::optional<Value>& v) {
    if (!v || v->isText())
        return "u";
    const char* kind[] = {"e", "i16 ", "i32 ", "d "};
    return kind[v->storage().index()] + (v->isEmpty() ? "" : show(v->toDouble()));
}

std::string show(std::optional<std::int32_t> i) { return i ? show(Value{*i}) : "u"; }

} // namespace

// A text as a whole decimal number, and its leading number; full-width forms read as
// their ASCII twins.
TEST(Value, ReadText) {
    // clang-format off
    for (const char* row : {
            "7|7|7", " \t-7.5 |-7.5|-7.5", "7時|u|7", "1 2|u|12", "\n1\n2|u|12", "|u|0", "  |u|0",
            "abc|u|0", "-|u|0", "+5|5|5", ".5|0.5|0.5", "5.|5|5", "1.2.3|u|1.2", "-3e2|-300|-300",
            "7e|u|7", "7e+|u|7", "1e308|1e+308|1e+308", "1e999|u|u", "-1e999|u|u", "1e-999|0|0",
            "&H1F|u|31", "&hff|u|255", "&O17|u|15", "&O9|u|0", "&O8|u|0", "&O78|u|7", "&H7時|u|7",
            "&H1G|u|1", "&H|u|0", "inf|u|0", "nan|u|0", "0x10|u|0", "１２|12|12", "　７　|7|7",
            "－３．５|-3.5|-3.5", "＋１ｅ３|1000|1000", "＆Ｈ１Ｆ|u|31", "＆ｏ１７|u|15", "ＡＢＣ|u|0",
            "７時|u|7", "、７|u|0"}) {
        // clang-format on
        const auto cells = cellsOf(row);
        SCOPED_TRACE(row);
        EXPECT_EQ(show(engine::readDecimal(cells[0])), cells[1]);
        EXPECT_EQ(show(engine::leadingNumber(cells[0])), cells[2]);
        EXPECT_EQ(show(Value{cells[0]}.toDouble()), cells[1]);
    }
}

// Sums and products that widen, empty as 0, texts read as decimals, and the
// halves-to-even conversion to 32 bits.
TEST(Value, Rules) {
    const Value empty, one{std::int16_t{1}};
    const auto d = [](double x) { return Value{x}; };
    const auto t = [](const char* x) { return Value{std::string(x)}; };
    // clang-format off
    const std::pair<std::string, const char*> cases[] = {
        {show(engine::add(Value{std::int16_t{32767}}, one)), "i32 32768"},
        {show(engine::add(Value{std::int32_t{2147483647}}, one)), "d 2147483648"},
        {show(engine::add(empty, one)), "i16 1"}, {show(engine::add(t("1.5"), one)), "d 2.5"},
        {show(engine::add(t("abc"), one)), "u"}, {show(engine::multiply(t("２"), d(60))), "d 120"},
        {show(engine::multiply(t("1e308"), d(60))), "u"}, {show(d(2.5).toInt32()), "i32 2"},
        {show(d(3.5).toInt32()), "i32 4"}, {show(d(-2.5).toInt32()), "i32 -2"},
        {show(d(2147483647.5).toInt32()), "u"}, {show(t("2.5").toInt32()), "i32 2"}};
    // clang-format on
    for (const auto& [got, expected] : cases)
        EXPECT_EQ(got, expected);
}
