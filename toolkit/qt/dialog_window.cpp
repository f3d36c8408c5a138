#include "toolkit/qt/dialog_window.h"

#include "toolkit/qt/accessibility.h"
#include "toolkit/qt/placement.h"
#include "toolkit/qt/text.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include <stdexcept>
#include <string>

namespace toolkit::qt {

FormWindow::FormWindow(const forms::FormDefinition& form, ui::WindowEvents& events)
    : QWidget(nullptr, Qt::Window)
    , events_(&events) {
    installAccessibility();
    applyDefinition(*this, form);
    resize(pixelRect({0, 0, form.clientWidth, form.clientHeight}).size());
    controls_ = makeControls(form, *this);

    for (const auto& [name, widget] : controls_)
        if (auto* button = qobject_cast<QPushButton*>(widget))
            connect(button, &QPushButton::clicked, this, [this, control = name] {
                if (events_)
                    events_->click(control);
            });
}

template <class T> T& FormWindow::controlAs(std::string_view name) const {
    if (auto* widget = qobject_cast<T*>(&controlNamed(controls_, name)))
        return *widget;
    throw std::invalid_argument("control " + std::string(name) + " is of another kind");
}

QString FormWindow::text(std::string_view textBox) const {
    return controlAs<QLineEdit>(textBox).text();
}

void FormWindow::setCaption(std::string_view label, const QString& caption) {
    auto& target = controlAs<QLabel>(label);
    target.setText(caption);
    // A notice appears with its caption: showing it is what screen readers announce.
    if (target.property("notice").toBool())
        target.setVisible(!caption.isEmpty());
}

void FormWindow::setOwner(QWidget* owner) {
    // Window managers keep a window with its owner only when it is of a dialog's type and
    // names the owner (WM_TRANSIENT_FOR on X11, the parent toplevel on Wayland). The frame
    // keeps the buttons of a plain window. A change of type makes the window anew, hidden.
    const Qt::WindowFlags flags =
        owner ? Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                    Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint
              : Qt::WindowFlags(Qt::Window);
    if (windowFlags() != flags)
        setWindowFlags(flags);
    winId();
    windowHandle()->setTransientParent(owner ? owner->window()->windowHandle() : nullptr);
}

// The handlers decide what becomes of the window.
void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (events_)
        events_->closeBox();
}

DialogWindow::DialogWindow(const forms::FormDefinition& form, ui::WindowEvents& events,
                           const Owners& owners)
    : window_(new FormWindow(form, events))
    , owners_(owners) {}

DialogWindow::~DialogWindow() {
    if (!window_)
        return;
    window_->detach();
    window_->hide();
    window_->deleteLater();
}

void DialogWindow::show(ui::Owner owner, bool centre) {
    window_->setOwner(owners_.window(owner));
    if (centre)
        centreByFrame(*window_);
    showInFront(*window_);
}

std::string DialogWindow::text(std::string_view textBox) {
    return window_->text(textBox).toStdString();
}

void DialogWindow::setCaption(std::string_view label, std::string_view caption) {
    window_->setCaption(label, qstr(caption));
}

} // namespace toolkit::qt
