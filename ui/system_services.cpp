#include "ui/system_services.h"

#include "ui/beep/beep_queue.h"
#include "ui/beep/system_sink.h"

#include <QGuiApplication>
#include <QDateTime>
#include <QTime>

namespace ui {

int SystemClock::hour() { return QTime::currentTime().hour(); }

int SystemClock::minute() { return QTime::currentTime().minute(); }

int SystemClock::second() { return QTime::currentTime().second(); }

engine::LocalDateTime SystemClock::now() {
    const QDateTime now = QDateTime::currentDateTime();
    const QDate date = now.date();
    const QTime time = now.time();
    return {date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second()};
}

SystemBeeper::SystemBeeper()
    : SystemBeeper(beep::MakeSystemSink(QGuiApplication::platformName() == u"xcb")) {}

SystemBeeper::SystemBeeper(std::unique_ptr<beep::Sink> sink)
    : queue_(std::make_unique<beep::BeepQueue>(std::move(sink))) {}

SystemBeeper::~SystemBeeper() = default;

void SystemBeeper::beep() { queue_->request(); }

} // namespace ui
