#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant> // brings std::partial_ordering; a direct <compare> trips moc

namespace engine {

// A dynamically typed value: empty until first assigned, then a 16-bit or 32-bit
// integer, a double or a text. The members of AlarmState and the texts of the input
// fields are such values. Every conversion that has no result gives std::nullopt.
class Value {
public:
    using Storage = std::variant<std::monostate, std::int16_t, std::int32_t, double, std::string>;

    Value() = default;
    explicit Value(std::int16_t v)
        : v_(v) {}
    explicit Value(std::int32_t v)
        : v_(v) {}
    explicit Value(double v)
        : v_(v) {}
    explicit Value(std::string v)
        : v_(std::move(v)) {}

    const Storage& storage() const { return v_; }
    bool isEmpty() const { return std::holds_alternative<std::monostate>(v_); }
    bool isText() const { return std::holds_alternative<std::string>(v_); }

    // Empty reads as 0, a text as a decimal number (readDecimal).
    std::optional<double> toDouble() const;
    // Rounds halves to the even neighbour; nullopt outside the 32-bit range.
    std::optional<std::int32_t> toInt32() const;

    // Numbers (empty as 0) compare numerically and exactly, texts compare as texts and
    // empty stands for the empty text beside a text. A text never orders with a number,
    // and NaN orders with nothing.
    friend std::partial_ordering operator<=>(const Value& a, const Value& b);
    friend bool operator==(const Value& a, const Value& b) {
        return (a <=> b) == std::partial_ordering::equivalent;
    }

private:
    Storage v_;
};

// Integer sums and products stay integers and widen 16 -> 32 bits -> double instead of
// overflowing; a text operand is read by readDecimal. nullopt when a text does not read
// as a number or a double result leaves the finite range.
std::optional<Value> add(const Value& a, const Value& b);
std::optional<Value> multiply(const Value& a, const Value& b);

// The whole text as one decimal number: optional sign, digits with at most one point,
// optional exponent, blanks around it.
std::optional<double> readDecimal(std::string_view utf8);

// The leading number of a text, skipping blanks, tabs and line feeds wherever they
// stand; &H and &O introduce hexadecimal and octal whole numbers. 0 when the text does
// not begin with a number, nullopt when the number lies beyond the range of a double.
std::optional<double> leadingNumber(std::string_view utf8);

} // namespace engine
