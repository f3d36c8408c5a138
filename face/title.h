#pragma once

#include "engine/ports.h"

#include <QLocale>
#include <QString>

#include <string>
#include <string_view>

namespace face {

inline constexpr std::string_view titleSuffix = "     [Hozel] Ver8.1[win8.1]";

// The window title under one locale: its short date, a blank and its long time, then the
// suffix; at exactly 0:00:00 the date alone. The time form never names the time zone.
// The formats are worked out once, in the constructor, because the title is rebuilt on
// every tick.
class TitleFormat {
public:
    explicit TitleFormat(QLocale locale);

    std::string text(const engine::LocalDateTime& when) const;

private:
    QLocale locale_;
    QString dateFormat_;
    QString timeFormat_;
};

std::string titleText(const engine::LocalDateTime& when, const QLocale& locale);

// The long time form without a time-zone name, from a locale's long and short time
// formats (QLocale::timeFormat).
QString longTimeFormat(const QString& longFormat, const QString& shortFormat);

} // namespace face
