#pragma once

#include "face/clock_face.h"
#include "ui/toolkit.h"

#include <memory>

namespace ui {

class Forms;

// The clock window: the readout and the dial in its client area, the menu bar of five
// commands, and Timer1, whose tick drives every alarm.
class MainForm final : public WindowEvents {
public:
    explicit MainForm(Forms& forms);

    void Form_Load();
    void Timer1_Timer();

    void kankaku_Click();
    void happyou_Click();
    void jikokusettei_Click();
    void aramuoff_Click();
    void end_Click();

    ClockWindow& window() { return *window_; }
    bool shownBefore = false;

private:
    void click(std::string_view control) override;
    void closeBox() override;
    void timer() override;

    Forms& forms_;
    std::unique_ptr<ClockWindow> window_;
    face::ClockFace face_;
};

} // namespace ui
