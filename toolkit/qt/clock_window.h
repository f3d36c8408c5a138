#pragma once

#include "face/dial_surface.h"
#include "toolkit/qt/top_level.h"
#include "ui/toolkit.h"

#include <QMainWindow>
#include <QPen>
#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QTimer;

namespace toolkit::qt {

// The client area of the clock window: the dial, painted with round-capped pens, and the
// readout. It computes nothing itself.
class ClientArea final : public QWidget, public face::DialSurface {
    Q_OBJECT

public:
    ClientArea(const forms::FormDefinition& form, QWidget* parent);

    float ScaleWidth() override;
    float ScaleHeight() override;
    void setReadout(std::string_view caption) override;
    void setTitle(std::string_view caption) override;

    void setBackColor(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void invalidate(const face::PixelRect& area) override;

    std::array<QPen, face::lineCount> pens_; // in the order of painting
    QLabel* readout_ = nullptr;
};

// The clock window built from its definition: the client area, the menu bar of its
// commands, and its timer.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    MainWindow(const forms::FormDefinition& form, ui::WindowEvents& events);

    ClientArea& clientArea() const { return *clientArea_; }
    // The menu bar on its first command, for the keyboard, as Alt pressed alone opens it.
    void openMenuBar();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    ui::WindowEvents& events_;
    bool openingMenuBar_ = false;
    ClientArea* clientArea_;
    QTimer* timer_;
};

class ClockWindow final : public ui::ClockWindow {
public:
    ClockWindow(const forms::FormDefinition& form, ui::WindowEvents& events);

    void show(bool centre) override;
    face::Surface& clientArea() override;
    void setBackColor(forms::Rgb colour) override;
    void requestAttention() override;

    QWidget& widget() const { return *window_; }

private:
    std::unique_ptr<MainWindow> window_;
    bool shownBefore_ = false;
};

} // namespace toolkit::qt
