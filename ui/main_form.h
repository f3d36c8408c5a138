#pragma once

#include "face/clock_face.h"

#include <QMainWindow>
#include <QTimer>

namespace ui {

class DialWidget;
class Windows;

// The clock window: the readout and the dial in its client area, the menu bar of five
// commands, and Timer1, whose tick drives every alarm.
class MainForm final : public QMainWindow {
    Q_OBJECT

public:
    explicit MainForm(Windows& windows);
    ~MainForm() override;

    void Form_Load();
    void Timer1_Timer();

    void kankaku_Click();
    void happyou_Click();
    void jikokusettei_Click();
    void aramuoff_Click();
    void end_Click();

    DialWidget& dial() const { return *dial_; }
    void stopTimer() { Timer1.stop(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Windows& windows_;
    DialWidget* dial_;
    face::ClockFace face_;
    QTimer Timer1;
};

} // namespace ui
