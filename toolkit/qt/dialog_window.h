#pragma once

#include "toolkit/qt/controls.h"
#include "toolkit/qt/top_level.h"
#include "ui/toolkit.h"

#include <QPointer>
#include <QWidget>

#include <string_view>

namespace toolkit::qt {

// The window that owns the dialogs that the clock window owns, where there is one.
class Owners {
public:
    virtual QWidget* window(ui::Owner owner) const = 0;

protected:
    ~Owners() = default;
};

// A dialog built from its definition: a top-level window with its labels, input fields and
// command button placed in twips. Its button and its close box report to the handlers.
class FormWindow final : public QWidget {
    Q_OBJECT

public:
    FormWindow(const forms::FormDefinition& form, ui::WindowEvents& events);

    QString text(std::string_view textBox) const;
    void setCaption(std::string_view label, const QString& caption);

    // Owned by a window (the main window) or by none: an owned dialog stays in front of
    // its owner and is minimised and restored with it.
    void setOwner(QWidget* owner);

    // The handlers let go of the window: it reports nothing more.
    void detach() { events_ = nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    template <class T> T& controlAs(std::string_view name) const;

    ui::WindowEvents* events_;
    Controls controls_;
};

// The handlers' hold on a dialog. Letting go of it destroys the dialog, also from within
// one of its own events: it disappears at once and is deleted once the event is over.
class DialogWindow final : public ui::DialogWindow {
public:
    // `owners`: the window that stands for each owner.
    DialogWindow(const forms::FormDefinition& form, ui::WindowEvents& events, const Owners& owners);
    ~DialogWindow() override;

    void show(ui::Owner owner, bool centre) override;
    std::string text(std::string_view textBox) override;
    void setCaption(std::string_view label, std::string_view caption) override;

    QWidget& widget() const { return *window_; }

private:
    QPointer<FormWindow> window_;
    const Owners& owners_;
};

} // namespace toolkit::qt
