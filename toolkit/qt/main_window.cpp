#include "toolkit/qt/main_window.h"

#include "toolkit/qt/convert.h"
#include "toolkit/qt/dial_widget.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/frame_centring.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QTimer>

#include <utility>

namespace toolkit::qt {

MainWindow::MainWindow(const forms::Form& form, ui::WindowEvents& events)
    : events_(events)
    , dial_(new DialWidget(this))
    , timer_(new QTimer(this)) {
    setObjectName(qstr(form.name));
    setWindowTitle(qstr(form.caption));
    setWindowIcon(clockIcon());
    setCentralWidget(dial_);

    for (const forms::MenuItem& item : form.menu) {
        QAction* action = menuBar()->addAction(qstr(item.caption));
        action->setObjectName(qstr(item.name));
        connect(action, &QAction::triggered, this,
                [this, name = item.name] { events_.click(name); });
    }

    // The client area below the menu bar has the size of the definition. Narrower than its
    // bar, the window would fold the last commands into an extension button, and screen
    // readers would still report them as showing.
    resize(pixels(form.clientWidth), pixels(form.clientHeight) + menuBar()->sizeHint().height());
    setMinimumWidth(menuBar()->sizeHint().width());

    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(form.timerIntervalMs);
    connect(timer_, &QTimer::timeout, this, [this] { events_.timer(); });
    if (form.timerIntervalMs > 0)
        timer_->start();
}

// The handlers decide what becomes of the window.
void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    events_.closeBox();
}

ClockWindow::ClockWindow(const forms::Form& form, ui::WindowEvents& events)
    : window_(std::make_unique<MainWindow>(form, events)) {}

void ClockWindow::show(ui::Window*, bool centre) {
    if (centre)
        CentreByFrame(*window_);
    if (std::exchange(shownBefore_, true)) {
        bringToFront(*window_);
        return;
    }
    // Start-up: the window manager puts a new window in front and active by itself. Asked
    // for besides, the activation would wait for the window to be mapped and then carry a
    // newer user time than the start-up window shown meanwhile, which focus-stealing
    // prevention (mutter's) would then keep behind the clock window.
    window_->show();
}

face::Surface& ClockWindow::clientArea() { return window_->dial(); }

void ClockWindow::setBackColor(forms::Rgb colour) { window_->dial().setBackColor(qcolor(colour)); }

void ClockWindow::requestAttention() { QApplication::alert(window_.get()); }

} // namespace toolkit::qt
