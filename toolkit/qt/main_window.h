#pragma once

#include "forms/form_def.h"
#include "ui/toolkit.h"

#include <QMainWindow>

class QTimer;

#include <memory>

namespace toolkit::qt {

class DialWidget;

// The clock window built from its definition: the readout and the dial in its client area,
// the menu bar of its commands, and its timer.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(const forms::Form& form, ui::WindowEvents& events);

    DialWidget& dial() const { return *dial_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ui::WindowEvents& events_;
    DialWidget* dial_;
    QTimer* timer_;
};

class ClockWindow final : public ui::ClockWindow {
public:
    ClockWindow(const forms::Form& form, ui::WindowEvents& events);

    void show(ui::Window* owner, bool centre) override;
    face::Surface& clientArea() override;
    void setBackColor(forms::Rgb colour) override;
    void requestAttention() override;

    MainWindow& widget() const { return *window_; }

private:
    std::unique_ptr<MainWindow> window_;
    bool shownBefore_ = false;
};

} // namespace toolkit::qt
