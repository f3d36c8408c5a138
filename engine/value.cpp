#include "engine/value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <type_traits>

namespace engine {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

struct Decimal {
    bool negative = false;
    std::string_view whole;
    std::string_view fraction;
    bool exponentNegative = false;
    std::string_view exponent;
};

std::string_view digits(std::string_view s, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < s.size() && isDigit(s[pos])) {
        ++pos;
    }
    return s.substr(start, pos - start);
}

bool sign(std::string_view s, std::size_t& pos) {
    if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
        return s[pos++] == '-';
    }
    return false;
}

// Reads a decimal number starting at pos and moves pos past it. An 'e' that is not
// followed by exponent digits is left unread.
std::optional<Decimal> scanDecimal(std::string_view s, std::size_t& pos) {
    Decimal d;
    std::size_t p = pos;
    d.negative = sign(s, p);
    d.whole = digits(s, p);
    if (p < s.size() && s[p] == '.') {
        ++p;
        d.fraction = digits(s, p);
    }
    if (d.whole.empty() && d.fraction.empty()) {
        return std::nullopt;
    }
    if (p < s.size() && (s[p] == 'e' || s[p] == 'E')) {
        std::size_t q = p + 1;
        const bool negative = sign(s, q);
        if (const auto exponent = digits(s, q); !exponent.empty()) {
            d.exponentNegative = negative;
            d.exponent = exponent;
            p = q;
        }
    }
    pos = p;
    return d;
}

// Decimal exponent of the leading significant digit plus one; tells an overflow from an
// underflow when the conversion reports the number out of range.
long long magnitude(const Decimal& d) {
    long long exponent = 0;
    for (const char c : d.exponent) {
        exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
    }
    if (d.exponentNegative) {
        exponent = -exponent;
    }
    if (const auto lead = d.whole.find_first_not_of('0'); lead != std::string_view::npos) {
        return static_cast<long long>(d.whole.size() - lead) + exponent;
    }
    return exponent - static_cast<long long>(d.fraction.find_first_not_of('0'));
}

std::optional<double> toDouble(const Decimal& d) {
    const double zero = d.negative ? -0.0 : 0.0;
    if (d.whole.find_first_not_of('0') == std::string_view::npos &&
        d.fraction.find_first_not_of('0') == std::string_view::npos) {
        return zero;
    }
    std::string text{d.whole.empty() ? std::string_view{"0"} : d.whole};
    if (!d.fraction.empty()) {
        text.append(".").append(d.fraction);
    }
    if (!d.exponent.empty()) {
        text.append(d.exponentNegative ? "e-" : "e").append(d.exponent);
    }
    double value = 0.0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (magnitude(d) > 0) {
            return std::nullopt;
        }
        return zero;
    }
    if (ec != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return d.negative ? -value : value;
}

std::optional<double> wholeNumber(std::string_view digits, int base) {
    double value = 0.0;
    for (const char c : digits) {
        const char lower = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        const int digit = isDigit(lower)                   ? lower - '0'
                          : (lower >= 'a' && lower <= 'f') ? lower - 'a' + 10
                                                           : base;
        if (digit >= base) {
            break;
        }
        value = value * base + digit;
    }
    if (!std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::int32_t> roundHalfEven(double x) {
    if (!std::isfinite(x)) {
        return std::nullopt;
    }
    const double below = std::floor(x);
    const double rest = x - below;
    const bool up = rest > 0.5 || (rest == 0.5 && std::fmod(below, 2.0) != 0.0);
    const double rounded = up ? below + 1.0 : below;
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

// Integers keep their width for the widening rule; texts and doubles take part as doubles.
using Operand = std::variant<std::int16_t, std::int32_t, double>;

std::optional<Operand> asOperand(const Value& v) {
    return std::visit(
        [](const auto& x) -> std::optional<Operand> {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                return Operand{std::int16_t{0}};
            } else if constexpr (std::is_same_v<T, std::string>) {
                if (const auto d = readDecimal(x)) {
                    return Operand{*d};
                }
                return std::nullopt;
            } else {
                return Operand{x};
            }
        },
        v.storage());
}

template <typename T> T as(const Operand& o) {
    return std::visit([](auto x) { return static_cast<T>(x); }, o);
}

template <typename Op> std::optional<Value> combine(const Value& a, const Value& b, Op op) {
    const auto x = asOperand(a);
    const auto y = asOperand(b);
    if (!x || !y) {
        return std::nullopt;
    }
    if (std::holds_alternative<double>(*x) || std::holds_alternative<double>(*y)) {
        const double r = op(as<double>(*x), as<double>(*y));
        return std::isfinite(r) ? std::optional<Value>{Value{r}} : std::nullopt;
    }
    const long long r = op(as<long long>(*x), as<long long>(*y));
    const bool narrow =
        std::holds_alternative<std::int16_t>(*x) && std::holds_alternative<std::int16_t>(*y);
    if (narrow && r >= std::numeric_limits<std::int16_t>::min() &&
        r <= std::numeric_limits<std::int16_t>::max()) {
        return Value{static_cast<std::int16_t>(r)};
    }
    if (r >= std::numeric_limits<std::int32_t>::min() &&
        r <= std::numeric_limits<std::int32_t>::max()) {
        return Value{static_cast<std::int32_t>(r)};
    }
    return Value{static_cast<double>(r)};
}

double numberOf(const Value::Storage& v) {
    if (const auto* d = std::get_if<double>(&v)) {
        return *d;
    }
    if (const auto* i = std::get_if<std::int32_t>(&v)) {
        return *i;
    }
    if (const auto* s = std::get_if<std::int16_t>(&v)) {
        return *s;
    }
    return 0.0;
}

} // namespace

std::optional<double> Value::toDouble() const {
    if (const auto* text = std::get_if<std::string>(&v_)) {
        return readDecimal(*text);
    }
    return numberOf(v_);
}

std::optional<std::int32_t> Value::toInt32() const {
    if (const auto* i = std::get_if<std::int32_t>(&v_)) {
        return *i;
    }
    const auto d = toDouble();
    return d ? roundHalfEven(*d) : std::nullopt;
}

std::partial_ordering operator<=>(const Value& a, const Value& b) {
    const auto* ta = std::get_if<std::string>(&a.v_);
    const auto* tb = std::get_if<std::string>(&b.v_);
    if (ta == nullptr && tb == nullptr) {
        return numberOf(a.v_) <=> numberOf(b.v_);
    }
    if ((ta == nullptr && !a.isEmpty()) || (tb == nullptr && !b.isEmpty())) {
        return std::partial_ordering::unordered;
    }
    const std::string_view x = ta != nullptr ? std::string_view{*ta} : std::string_view{};
    const std::string_view y = tb != nullptr ? std::string_view{*tb} : std::string_view{};
    return x <=> y;
}

std::optional<Value> add(const Value& a, const Value& b) {
    return combine(a, b, [](auto x, auto y) { return x + y; });
}

std::optional<Value> multiply(const Value& a, const Value& b) {
    return combine(a, b, [](auto x, auto y) { return x * y; });
}

namespace {

// Full-width forms U+FF01..U+FF5E become their ASCII counterparts and the ideographic
// space U+3000 a blank; everything else is kept byte for byte.
std::string foldFullWidth(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = [&](std::size_t k) {
            return i + k < utf8.size() ? static_cast<unsigned char>(utf8[i + k]) : 0U;
        };
        if (byte(0) == 0xEF && byte(1) == 0xBC && byte(2) >= 0x81 && byte(2) <= 0xBF) {
            out += static_cast<char>(byte(2) - 0x60); // U+FF01..U+FF3F
            i += 2;
        } else if (byte(0) == 0xEF && byte(1) == 0xBD && byte(2) >= 0x80 && byte(2) <= 0x9E) {
            out += static_cast<char>(byte(2) - 0x20); // U+FF40..U+FF5E
            i += 2;
        } else if (byte(0) == 0xE3 && byte(1) == 0x80 && byte(2) == 0x80) {
            out += ' '; // U+3000
            i += 2;
        } else {
            out += utf8[i];
        }
    }
    return out;
}

} // namespace

std::optional<double> readDecimal(std::string_view utf8) {
    const std::string folded = foldFullWidth(utf8);
    const std::string_view s{folded};
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view body = s.substr(first, s.find_last_not_of(" \t") - first + 1);
    std::size_t pos = 0;
    const auto d = scanDecimal(body, pos);
    if (!d || pos != body.size()) {
        return std::nullopt;
    }
    return toDouble(*d);
}

std::optional<double> leadingNumber(std::string_view utf8) {
    std::string s;
    for (const char c : foldFullWidth(utf8)) {
        if (c != ' ' && c != '\t' && c != '\n') {
            s += c;
        }
    }
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'H' || s[1] == 'h')) {
        return wholeNumber(std::string_view{s}.substr(2), 16);
    }
    if (s.size() >= 2 && s[0] == '&' && (s[1] == 'O' || s[1] == 'o')) {
        return wholeNumber(std::string_view{s}.substr(2), 8);
    }
    std::size_t pos = 0;
    const auto d = scanDecimal(s, pos);
    return d ? toDouble(*d) : std::optional<double>{0.0};
}

} // namespace engine
