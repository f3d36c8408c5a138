#include "face/title.h"

#include <QDate>
#include <QTime>

#include <algorithm>

namespace face {

namespace {

// The locale's long time form names the time zone, and where it does, some locales spell
// the fields out in words ("H時mm分ss秒 t"); the regional settings' long time is then the
// short form with the seconds added after the minutes, by the separator between hour and
// minute ("H:mm" becomes "H:mm:ss").
QString longTimeFormat(const QLocale& locale) {
    QString longFormat = locale.timeFormat(QLocale::LongFormat);
    if (!longFormat.contains(u't'))
        return longFormat;
    QString shortFormat = locale.timeFormat(QLocale::ShortFormat);
    if (shortFormat.contains(u's'))
        return shortFormat;
    const qsizetype minute = shortFormat.indexOf(u'm');
    qsizetype separator = minute;
    while (separator > 0 && shortFormat[separator - 1] != u'h' &&
           shortFormat[separator - 1] != u'H')
        --separator;
    const QString between = shortFormat.mid(separator, minute - separator);
    const bool plain = separator > 0 && !between.isEmpty() &&
                       std::none_of(between.begin(), between.end(), [](QChar c) {
                           return c.isLetter() || c.isSpace() || c == u'\'';
                       });
    if (!plain) // no separator to repeat: the long form without its zone
        return longFormat.remove(u't').remove(QStringLiteral("()")).simplified();
    qsizetype minuteEnd = minute;
    while (minuteEnd < shortFormat.size() && shortFormat[minuteEnd] == u'm')
        ++minuteEnd;
    return shortFormat.insert(minuteEnd, between + QStringLiteral("ss"));
}

} // namespace

std::string titleText(const engine::LocalDateTime& when, const QLocale& locale) {
    QString title = locale.toString(QDate(when.year, when.month, when.day), QLocale::ShortFormat);
    if (when.hour != 0 || when.minute != 0 || when.second != 0)
        title += u' ' + locale.toString(QTime(when.hour, when.minute, when.second),
                                        longTimeFormat(locale));
    return title.toStdString().append(titleSuffix);
}

} // namespace face
