#pragma once

#include "engine/ports.h"

#include <QLocale>
#include <QString>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace face {

inline constexpr std::string_view titleSuffix = "     [Hozel] Ver8.1[win8.1]";

// A date or time format reduced to literal text and the numeric fields d, dd, M, MM, yy,
// yyyy, H, HH, m, mm, s and ss, which write the same digits as QLocale without consulting
// the locale. compile() gives nothing for a format with any other field or a quote.
class NumericFormat {
public:
    static std::optional<NumericFormat> compile(const QString& format);

    // Appends the text for when, whose year must lie in 1000..9999.
    void appendTo(std::string& out, const engine::LocalDateTime& when) const;

private:
    enum class Field : char { Literal, Day, Month, Year2, Year4, Hour, Minute, Second };
    struct Piece {
        Field field;
        int width = 0; // digits at least, for a numeric field
        std::string literal;
    };
    std::vector<Piece> pieces_;
};

// The window title under one locale: its short date, a blank and its long time, then the
// suffix; at exactly 0:00:00 the date alone. The time form never names the time zone.
// The formats are worked out once, in the constructor, because the title is rebuilt on
// every tick; where the locale writes ASCII digits and the formats are purely numeric,
// the rebuilding needs no locale look-up.
class TitleFormat {
public:
    explicit TitleFormat(QLocale locale);

    std::string text(const engine::LocalDateTime& when) const;
    // The same text written over out, whose storage is reused from tick to tick.
    void write(std::string& out, const engine::LocalDateTime& when) const;

private:
    QLocale locale_;
    QString dateFormat_;
    QString timeFormat_;
    std::optional<NumericFormat> numericDate_;
    std::optional<NumericFormat> numericTime_;
};

std::string titleText(const engine::LocalDateTime& when, const QLocale& locale);

// The long time form without a time-zone name, from a locale's long and short time
// formats (QLocale::timeFormat).
QString longTimeFormat(const QString& longFormat, const QString& shortFormat);

} // namespace face
