#pragma once

#include "ui/toolkit.h"

#include <QLocale>

#include <functional>

class QWidget;

namespace toolkit::qt {

// The toolkit's services on Qt Widgets: the windows, the user's regional settings, and the
// clock and beep it is given.
class QtToolkit final : public ui::Toolkit {
public:
    // quit leaves the event loop; the default is the application's.
    QtToolkit(engine::WallClock& clock, engine::Beeper& beeper, std::function<void()> quit = {});

    std::unique_ptr<ui::ClockWindow> createClockWindow(const forms::Form& form,
                                                       ui::WindowEvents& events) override;
    std::unique_ptr<ui::DialogWindow> createDialog(const forms::Form& form,
                                                   ui::WindowEvents& events) override;
    engine::WallClock& clock() override { return clock_; }
    engine::Beeper& beeper() override { return beeper_; }
    void quit() override;
    void log(engine::FaultLog::Severity severity, const std::string& line) override;
    std::string shortDate(const engine::LocalDateTime& when) override;
    std::string longTime(const engine::LocalDateTime& when) override;

private:
    engine::WallClock& clock_;
    engine::Beeper& beeper_;
    std::function<void()> quit_;
    QLocale locale_ = QLocale::system();
    QString longTimeFormat_;
};

} // namespace toolkit::qt
