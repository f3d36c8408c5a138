#include "face/title.h"

#include <QDate>
#include <QTime>

#include <charconv>
#include <optional>
#include <utility>

namespace face {

namespace {

// Where the hour, minute and second fields of a time format lie, outside quoted literals.
struct TimeFields {
    qsizetype hourEnd = -1;
    qsizetype minuteBegin = -1;
    qsizetype minuteEnd = -1;
    bool hasSeconds = false;
};

TimeFields scanTimeFields(const QString& format) {
    TimeFields fields;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') {
            quoted = !quoted;
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        while (end < format.size() && format[end] == c)
            ++end;
        if (!quoted) {
            if (c == u'h' || c == u'H') {
                fields.hourEnd = end;
            } else if (c == u'm' && fields.minuteBegin < 0) {
                fields.minuteBegin = i;
                fields.minuteEnd = end;
            } else if (c == u's') {
                fields.hasSeconds = true;
            }
        }
        i = end;
    }
    return fields;
}

// The short time form with seconds added after the minutes, using the separator that
// stands between hour and minute. Empty when the form has no plain separator there.
std::optional<QString> withSeconds(const QString& shortFormat) {
    const TimeFields fields = scanTimeFields(shortFormat);
    if (fields.hasSeconds)
        return shortFormat;
    if (fields.hourEnd < 0 || fields.minuteBegin <= fields.hourEnd)
        return std::nullopt;
    const QString separator = shortFormat.mid(fields.hourEnd, fields.minuteBegin - fields.hourEnd);
    for (const QChar c : separator) {
        if (c.isLetter() || c == u'\'' || c.isSpace())
            return std::nullopt;
    }
    QString format = shortFormat;
    format.insert(fields.minuteEnd, separator + QStringLiteral("ss"));
    return format;
}

// Removes every time-zone field, with the brackets around it and the blank it leaves
// behind; quoted literals are kept as they are.
QString withoutTimeZone(const QString& format) {
    QString result = format;
    bool quoted = false;
    for (qsizetype i = 0; i < result.size();) {
        if (result[i] == u'\'') {
            quoted = !quoted;
            ++i;
            continue;
        }
        if (quoted || result[i] != u't') {
            ++i;
            continue;
        }
        qsizetype begin = i;
        qsizetype end = i;
        while (end < result.size() && result[end] == u't')
            ++end;
        if (begin > 0 && end < result.size() && result[begin - 1] == u'(' && result[end] == u')') {
            --begin;
            ++end;
        }
        if (begin > 0 && result[begin - 1].isSpace()) {
            while (begin > 0 && result[begin - 1].isSpace())
                --begin;
        } else {
            while (end < result.size() && result[end].isSpace())
                ++end;
        }
        result.remove(begin, end - begin);
        i = begin;
    }
    return result;
}

} // namespace

QString longTimeFormat(const QString& longFormat, const QString& shortFormat) {
    const QString stripped = withoutTimeZone(longFormat);
    // A long form without a zone is the user's own setting: keep it. One that names the
    // zone is the locale database's fullest form, which in some locales spells the fields
    // out in words ("H時mm分ss秒"); the settings' long time is the short form with seconds.
    if (stripped == longFormat)
        return longFormat;
    return withSeconds(shortFormat).value_or(stripped);
}

std::optional<NumericFormat> NumericFormat::compile(const QString& format) {
    const auto isLetter = [](QChar ch) {
        return (ch >= u'a' && ch <= u'z') || (ch >= u'A' && ch <= u'Z');
    };
    NumericFormat result;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'')
            return std::nullopt;
        qsizetype end = i + 1;
        if (!isLetter(c)) {
            while (end < format.size() && !isLetter(format[end]) && format[end] != u'\'')
                ++end;
            result.pieces_.push_back({Field::Literal, 0, format.mid(i, end - i).toStdString()});
            i = end;
            continue;
        }
        while (end < format.size() && format[end] == c)
            ++end;
        const auto count = static_cast<int>(end - i);
        Field field = Field::Literal;
        if (c == u'y' && (count == 2 || count == 4))
            field = count == 2 ? Field::Year2 : Field::Year4;
        else if (count <= 2 && c == u'd')
            field = Field::Day;
        else if (count <= 2 && c == u'M')
            field = Field::Month;
        else if (count <= 2 && c == u'H')
            field = Field::Hour;
        else if (count <= 2 && c == u'm')
            field = Field::Minute;
        else if (count <= 2 && c == u's')
            field = Field::Second;
        else
            return std::nullopt;
        result.pieces_.push_back({field, field == Field::Year2 ? 2 : count, {}});
        i = end;
    }
    return result;
}

void NumericFormat::appendTo(std::string& out, const engine::LocalDateTime& when) const {
    for (const Piece& piece : pieces_) {
        int value = 0;
        switch (piece.field) {
        case Field::Literal: out += piece.literal; continue;
        case Field::Day: value = when.day; break;
        case Field::Month: value = when.month; break;
        case Field::Year2: value = when.year % 100; break;
        case Field::Year4: value = when.year; break;
        case Field::Hour: value = when.hour; break;
        case Field::Minute: value = when.minute; break;
        case Field::Second: value = when.second; break;
        }
        char digits[8];
        const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
        for (auto width = end - digits; width < piece.width; ++width)
            out += '0';
        out.append(digits, end);
    }
}

TitleFormat::TitleFormat(QLocale locale)
    : locale_(std::move(locale))
    , dateFormat_(locale_.dateFormat(QLocale::ShortFormat))
    , timeFormat_(longTimeFormat(locale_.timeFormat(QLocale::LongFormat),
                                 locale_.timeFormat(QLocale::ShortFormat))) {
    if (locale_.zeroDigit() == u"0") {
        numericDate_ = NumericFormat::compile(dateFormat_);
        numericTime_ = NumericFormat::compile(timeFormat_);
    }
}

std::string TitleFormat::text(const engine::LocalDateTime& when) const {
    std::string title;
    write(title, when);
    return title;
}

void TitleFormat::write(std::string& out, const engine::LocalDateTime& when) const {
    const bool withTime = when.hour != 0 || when.minute != 0 || when.second != 0;
    const bool numeric =
        numericDate_ && (numericTime_ || !withTime) && when.year >= 1000 && when.year <= 9999;
    if (numeric) {
        out.clear();
        numericDate_->appendTo(out, when);
        if (withTime) {
            out += ' ';
            numericTime_->appendTo(out, when);
        }
        out += titleSuffix;
        return;
    }
    QString title = locale_.toString(QDate(when.year, when.month, when.day), dateFormat_);
    if (withTime) {
        title += u' ';
        title += locale_.toString(QTime(when.hour, when.minute, when.second), timeFormat_);
    }
    out = title.toStdString().append(titleSuffix);
}

std::string titleText(const engine::LocalDateTime& when, const QLocale& locale) {
    return TitleFormat(locale).text(when);
}

} // namespace face
