#pragma once

#include "forms/form_def.h"
#include "ui/toolkit.h"

#include <QPointer>
#include <QWidget>

#include <string_view>
#include <utility>
#include <vector>

class QPushButton;

namespace toolkit::qt {

// A dialog built from its definition: a top-level window with its labels, input fields and
// command button placed in twips. Its button and its close box report to the handlers.
class FormWindow final : public QWidget {
    Q_OBJECT

public:
    FormWindow(const forms::Form& form, ui::WindowEvents& events);

    QString text(std::string_view textBox) const;
    void setText(std::string_view textBox, const QString& text);
    void setCaption(std::string_view label, const QString& caption);
    QPushButton& command1() const;

    // Owned by a window (the main window) or by none: an owned dialog stays in front of
    // its owner and is minimised and restored with it.
    void setOwner(QWidget* owner);

    // The handlers let go of the window: it reports nothing more.
    void detach() { events_ = nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* control(std::string_view name) const;
    template <class T> T& controlAs(std::string_view name) const;

    ui::WindowEvents* events_;
    std::vector<std::pair<std::string_view, QWidget*>> controls_;
};

// The handlers' hold on a dialog. Letting go of it destroys the dialog, also from within
// one of its own events: it disappears at once and is deleted once the event is over.
class DialogWindow final : public ui::DialogWindow {
public:
    DialogWindow(const forms::Form& form, ui::WindowEvents& events);
    ~DialogWindow() override;

    void show(ui::Window* owner, bool centre) override;
    std::string text(std::string_view textBox) override;
    void setCaption(std::string_view label, std::string_view caption) override;

    FormWindow& widget() const { return *window_; }

private:
    QPointer<FormWindow> window_;
};

// The widget of a window that a toolkit of this front-end made.
QWidget& widgetOf(ui::Window& window);

// Shows a window, brings it to the front and makes it active.
void bringToFront(QWidget& window);

} // namespace toolkit::qt
