#pragma once

#include "toolkit/qt/accessibility.h"
#include "toolkit/qt/clock_window.h"
#include "toolkit/qt/dialog_window.h"
#include "ui/toolkit.h"

#include <QLocale>
#include <QPointer>

#include <functional>

namespace toolkit::qt {

// The toolkit's services on Qt Widgets: the windows, the log and the user's regional
// settings.
class QtToolkit final : public ui::Toolkit, private Owners {
public:
    // quit leaves the event loop; the default is the application's.
    explicit QtToolkit(std::function<void()> quit = {});

    std::unique_ptr<ui::ClockWindow> createClockWindow(const forms::FormDefinition& form,
                                                       ui::WindowEvents& events) override;
    std::unique_ptr<ui::DialogWindow> createDialog(const forms::FormDefinition& form,
                                                   ui::WindowEvents& events) override {
        const Owners& owners = *this;
        return std::make_unique<DialogWindow>(form, events, owners);
    }
    void answer() override;
    void quit() override;
    void log(engine::FaultLog::Severity severity, const std::string& line) override;
    std::string shortDate(const engine::LocalDateTime& when) override;
    std::string longTime(const engine::LocalDateTime& when) override;

private:
    QWidget* window(ui::Owner owner) const override;

    std::function<void()> quit_;
    QPointer<QWidget> clockWindow_;
    AssistiveAnswers answers_;
    QLocale locale_ = QLocale::system();
    QString longTimeFormat_;
};

} // namespace toolkit::qt
