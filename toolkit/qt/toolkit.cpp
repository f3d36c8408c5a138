#include "toolkit/qt/toolkit.h"

#include <QApplication>
#include <QDate>
#include <QLoggingCategory>
#include <QTime>

#include <algorithm>

namespace toolkit::qt {
namespace {

Q_LOGGING_CATEGORY(faultCategory, "alarmclock.faults")

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

QtToolkit::QtToolkit(std::function<void()> quit)
    : quit_(quit ? std::move(quit) : [] { QApplication::exit(0); })
    , longTimeFormat_(longTimeFormat(locale_)) {}

std::unique_ptr<ui::ClockWindow> QtToolkit::createClockWindow(const forms::FormDefinition& form,
                                                              ui::WindowEvents& events) {
    auto window = std::make_unique<ClockWindow>(form, events);
    clockWindow_ = &window->widget();
    return window;
}

QWidget* QtToolkit::window(ui::Owner owner) const {
    return owner == ui::Owner::MainForm ? clockWindow_.data() : nullptr;
}

void QtToolkit::answer() { answers_.answer(); }

void QtToolkit::quit() { quit_(); }

void QtToolkit::log(engine::FaultLog::Severity severity, const std::string& line) {
    if (severity == engine::FaultLog::Severity::Critical)
        qCCritical(faultCategory, "%s", line.c_str());
    else
        qCWarning(faultCategory, "%s", line.c_str());
}

std::string QtToolkit::shortDate(const engine::LocalDateTime& when) {
    return locale_.toString(QDate(when.year, when.month, when.day), QLocale::ShortFormat)
        .toStdString();
}

std::string QtToolkit::longTime(const engine::LocalDateTime& when) {
    return locale_.toString(QTime(when.hour, when.minute, when.second), longTimeFormat_)
        .toStdString();
}

} // namespace toolkit::qt
