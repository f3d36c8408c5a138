#pragma once

#include "forms/form_def.h"

#include <QWidget>

#include <string_view>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ui {

// A dialog built from its definition: a top-level window owned by the main window,
// with its labels, input fields and command button placed in twips. Closing it through
// its frame destroys it with the text typed into it.
class FormWindow : public QWidget {
    Q_OBJECT

public:
    FormWindow(const forms::Form& form, QWidget* owner);

    QString text(std::string_view textBox) const;
    void setText(std::string_view textBox, const QString& text);
    QString caption(std::string_view label) const;
    void setCaption(std::string_view label, const QString& caption);
    QPushButton& command1() const;

    // Owned by a window (the main window) or by none: an owned dialog stays in front of
    // its owner and is minimised and restored with it.
    void setOwner(QWidget* owner);

    // Centred on the screen the first time it is shown after creation.
    bool shownBefore() const { return shownBefore_; }
    void markShown() { shownBefore_ = true; }

signals:
    // Emitted once, as the user closes the window; the window is deleted afterwards.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* control(std::string_view name) const;
    template <class T> T& controlAs(std::string_view name) const;

    std::vector<std::pair<std::string_view, QWidget*>> controls_;
    bool shownBefore_ = false;
};

} // namespace ui
