#include "toolkit/qt/clock_window.h"

#include "toolkit/qt/controls.h"
#include "toolkit/qt/placement.h"
#include "toolkit/qt/text.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTimer>

#include <stdexcept>
#include <utility>

namespace toolkit::qt {

ClientArea::ClientArea(const forms::FormDefinition& form, QWidget* parent)
    : QWidget(parent)
    , DialSurface(form.lines) {
    setObjectName(qstr(form.name) + QStringLiteral("Client"));
    setAccessibleName(qstr(form.clientName));
    for (std::size_t i = 0; i < face::lineCount; ++i) {
        const face::DialLines::Painted& line = dial().inPaintOrder()[i];
        pens_[i] = QPen(qcolor(line.colour), line.width, Qt::SolidLine, Qt::RoundCap);
    }
    const Controls controls = makeControls(form, *this);
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (form.controls[i].kind == forms::Kind::Readout)
            readout_ = qobject_cast<QLabel*>(controls[i].second);
    if (!readout_)
        throw std::invalid_argument("a clock window without its readout");
}

float ClientArea::ScaleWidth() { return forms::twips(width(), forms::standardDpi); }

float ClientArea::ScaleHeight() { return forms::twips(height(), forms::standardDpi); }

void ClientArea::invalidate(const face::PixelRect& area) {
    update(area.left, area.top, area.right - area.left, area.bottom - area.top);
}

void ClientArea::setReadout(std::string_view caption) { readout_->setText(qstr(caption)); }

void ClientArea::setTitle(std::string_view caption) { window()->setWindowTitle(qstr(caption)); }

void ClientArea::setBackColor(const QColor& colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
    setAutoFillBackground(true);
}

void ClientArea::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QRect dirty = event->rect();
    paintDial({dirty.left(), dirty.top(), dirty.right() + 1, dirty.bottom() + 1},
              [&](std::size_t pen, const face::DialLines::Painted& line) {
                  painter.setPen(pens_[pen]);
                  painter.drawLine(QLineF(line.x1, line.y1, line.x2, line.y2));
              });
}

MainWindow::MainWindow(const forms::FormDefinition& form, ui::WindowEvents& events)
    : events_(events)
    , clientArea_(new ClientArea(form, this))
    , timer_(new QTimer(this)) {
    applyDefinition(*this, form);
    setCentralWidget(clientArea_);

    for (const forms::MenuItem& item : form.menu) {
        QAction* action = menuBar()->addAction(qstr(item.caption));
        action->setObjectName(qstr(item.name));
        connect(action, &QAction::triggered, this,
                [this, name = item.name] { events_.click(name); });
    }

    // The client area below the menu bar has the size of the definition. Narrower than its
    // bar, the window would fold the last commands into an extension button, and screen
    // readers would still report them as showing.
    const QSize client = pixelRect({0, 0, form.clientWidth, form.clientHeight}).size();
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
    setMinimumWidth(menuBar()->sizeHint().width());

    // F10 opens the menu bar too, as in GNOME's programs and on Windows.
    auto* menuKey = new QShortcut(QKeySequence(Qt::Key_F10), this);
    connect(menuKey, &QShortcut::activated, this, &MainWindow::openMenuBar);
    installEventFilter(this); // after the menu bar's own: it sees the window's events first

    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(form.timerIntervalMs);
    connect(timer_, &QTimer::timeout, this, [this] { events_.timer(); });
    if (form.timerIntervalMs > 0)
        timer_->start();
}

// The menu bar takes the keyboard as Alt pressed and released alone makes it do: it follows Alt
// from the window's shortcut events and takes its release anywhere. Pressed again, it leaves.
// A modifier key's event carries the modifiers from before it.
void MainWindow::openMenuBar() {
    QKeyEvent pressed(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    const QScopedValueRollback opening(openingMenuBar_, true);
    QCoreApplication::sendEvent(this, &pressed);
    QKeyEvent released(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(this, &released);
}

// While a screen reader listens to the keys, Qt's bridge to the accessibility bus holds each key
// until the reader has seen it, and then delivers a copy of it: a second Alt, which would close
// the menu bar that the first one opened. The menu bar learns of Alt from the window's shortcut
// events; it hears only of the Alt that the window system delivered, with its time, and of
// F10's.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this && event->type() == QEvent::ShortcutOverride && !openingMenuBar_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Alt && key->timestamp() == 0)
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// The handlers decide what becomes of the window.
void MainWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    events_.closeBox();
}

ClockWindow::ClockWindow(const forms::FormDefinition& form, ui::WindowEvents& events)
    : window_(std::make_unique<MainWindow>(form, events)) {}

void ClockWindow::show(bool centre) {
    if (centre)
        centreByFrame(*window_);
    if (std::exchange(shownBefore_, true)) {
        showInFront(*window_);
        return;
    }
    // Start-up: the window manager puts a new window in front and active by itself. Asked
    // for besides, the activation would wait for the window to be mapped and then carry a
    // newer user time than the start-up window shown meanwhile, which focus-stealing
    // prevention (mutter's) would then keep behind the clock window.
    window_->show();
}

face::Surface& ClockWindow::clientArea() { return window_->clientArea(); }

void ClockWindow::setBackColor(forms::Rgb colour) {
    window_->clientArea().setBackColor(qcolor(colour));
}

void ClockWindow::requestAttention() { QApplication::alert(window_.get()); }

} // namespace toolkit::qt
