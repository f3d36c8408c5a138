#include "toolkit/qt/form_window.h"

#include "toolkit/qt/convert.h"
#include "toolkit/qt/frame_centring.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWindow>

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace toolkit::qt {
namespace {

QWidget* makeControl(const forms::Control& def, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (def.kind) {
    case forms::Kind::Label:
    case forms::Kind::Notice: {
        auto* label = new QLabel(qstr(def.caption), parent);
        label->setProperty("notice", def.kind == forms::Kind::Notice);
        label->setVisible(def.kind == forms::Kind::Label);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(false);
        label->setAutoFillBackground(true);
        label->setBackgroundRole(QPalette::Button);
        label->setForegroundRole(QPalette::ButtonText);
        widget = label;
        break;
    }
    case forms::Kind::TextBox: {
        auto* field = new QLineEdit(parent);
        field->setMaxLength(std::numeric_limits<int>::max());
        field->setAccessibleName(qstr(def.accessibleName));
        widget = field;
        break;
    }
    case forms::Kind::CommandButton: {
        auto* button = new QPushButton(qstr(def.caption), parent);
        button->setAutoDefault(false);
        button->setDefault(false);
        widget = button;
        break;
    }
    }
    widget->setObjectName(qstr(def.name));
    widget->setGeometry(pixelRect(def.twips));
    if (def.font)
        widget->setFont(qfont(*def.font));
    return widget;
}

// A notice as assistive technologies see it: an alert that reads its caption.
class NoticeAccessible final : public QAccessibleWidget {
public:
    explicit NoticeAccessible(QLabel* notice)
        : QAccessibleWidget(notice, QAccessible::AlertMessage) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<QLabel*>(widget())->text()
                                      : QAccessibleWidget::text(t);
    }
};

// The dialogs are plain windows, so that Enter and Escape stay with their fields, yet
// assistive technologies should announce them as the dialogs they are.
QAccessibleInterface* dialogAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("toolkit::qt::FormWindow") ||
        object->inherits("toolkit::qt::FormWindow"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Dialog);
    if (object->property("notice").toBool())
        return new NoticeAccessible(static_cast<QLabel*>(object));
    return nullptr;
}

} // namespace

FormWindow::FormWindow(const forms::Form& form, ui::WindowEvents& events)
    : QWidget(nullptr, Qt::Window)
    , events_(&events) {
    static const bool factoryInstalled = (QAccessible::installFactory(dialogAccessible), true);
    Q_UNUSED(factoryInstalled);
    setObjectName(qstr(form.name));
    setWindowTitle(qstr(form.caption));
    setWindowIcon(clockIcon());
    resize(pixels(form.clientWidth), pixels(form.clientHeight));

    std::vector<const forms::Control*> byTab;
    for (const forms::Control& def : form.controls) {
        QWidget* control = makeControl(def, this);
        controls_.emplace_back(def.name, control);
        byTab.push_back(&def);
        if (auto* button = qobject_cast<QPushButton*>(control))
            connect(button, &QPushButton::clicked, this, [this, name = def.name] {
                if (events_)
                    events_->click(name);
            });
    }
    // Focus moves through the fields and the button in the order of their tab numbers;
    // labels take no focus.
    std::ranges::sort(byTab, {}, &forms::Control::tabIndex);
    QWidget* previous = nullptr;
    for (const forms::Control* def : byTab) {
        if (def->kind == forms::Kind::Label || def->kind == forms::Kind::Notice)
            continue;
        QWidget* current = control(def->name);
        current->setFocusPolicy(Qt::StrongFocus);
        if (previous)
            setTabOrder(previous, current);
        else
            current->setFocus(Qt::OtherFocusReason);
        previous = current;
    }
}

QWidget* FormWindow::control(std::string_view name) const {
    for (const auto& [controlName, widget] : controls_)
        if (controlName == name)
            return widget;
    throw std::out_of_range("no control named " + std::string(name));
}

template <class T> T& FormWindow::controlAs(std::string_view name) const {
    if (auto* widget = qobject_cast<T*>(control(name)))
        return *widget;
    throw std::invalid_argument("control " + std::string(name) + " is of another kind");
}

QString FormWindow::text(std::string_view textBox) const {
    return controlAs<QLineEdit>(textBox).text();
}

void FormWindow::setText(std::string_view textBox, const QString& text) {
    controlAs<QLineEdit>(textBox).setText(text);
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

QPushButton& FormWindow::command1() const { return controlAs<QPushButton>("Command1"); }

// The handlers decide what becomes of the window.
void FormWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (events_)
        events_->closeBox();
}

void bringToFront(QWidget& window) {
    window.show();
    if (window.isMinimized())
        window.showNormal();
    window.raise();
    window.activateWindow();
}

DialogWindow::DialogWindow(const forms::Form& form, ui::WindowEvents& events)
    : window_(new FormWindow(form, events)) {}

DialogWindow::~DialogWindow() {
    if (!window_)
        return;
    window_->detach();
    window_->hide();
    window_->deleteLater();
}

void DialogWindow::show(ui::Window* owner, bool centre) {
    window_->setOwner(owner ? &widgetOf(*owner) : nullptr);
    if (centre)
        CentreByFrame(*window_);
    bringToFront(*window_);
}

std::string DialogWindow::text(std::string_view textBox) {
    return window_->text(textBox).toStdString();
}

void DialogWindow::setCaption(std::string_view label, std::string_view caption) {
    window_->setCaption(label, qstr(caption));
}

} // namespace toolkit::qt
