#pragma once

#include "face/clock_face.h"
#include "ui/services.h"
#include "ui/toolkit.h"

#include <memory>

namespace ui {

// The clock window: the readout and the dial in its client area, the menu bar of five
// commands, and Timer1, whose tick drives every alarm.
class MainForm final : public WindowEvents {
public:
    explicit MainForm(const Services& services);
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    void Form_Load();
    void Timer1_Timer();

    void kankaku_Click();
    void happyou_Click();
    void jikokusettei_Click();
    void aramuoff_Click();
    void end_Click();

    // Modeless and unowned, centred the first time.
    void show();
    ClockWindow& window() { return *window_; }

private:
    void click(std::string_view control) override;
    void closeBox() override;
    void timer() override;

    const Services services_;
    std::unique_ptr<ClockWindow> window_;
    face::ClockFace face_;
    bool shownBefore_ = false;
    // Whether the last tick set the notice: one that sets it after one that did not is the
    // beginning of an alarm.
    bool noticeInLastTick_ = false;
};

} // namespace ui
