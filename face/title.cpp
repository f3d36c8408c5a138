#include "face/title.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>

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
    static const QRegularExpression hourMinute(QStringLiteral("([hH]+)([^\\p{L}' ]+)(mm?)"));
    QString shortFormat = locale.timeFormat(QLocale::ShortFormat);
    if (shortFormat.contains(u's'))
        return shortFormat;
    if (const auto match = hourMinute.match(shortFormat); match.hasMatch())
        return shortFormat.insert(match.capturedEnd(), match.captured(2) + QStringLiteral("ss"));
    static const QRegularExpression zone(QStringLiteral("\\s*\\(?t+\\)?\\s*"));
    return longFormat.remove(zone).trimmed();
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
