#pragma once

#include "engine/alarm_state.h"
#include "engine/fault_log.h"
#include "engine/ports.h"
#include "ui/toolkit.h"

#include <chrono>
#include <memory>
#include <string_view>
#include <utility>

namespace ui {

class Dialog;
class MainForm;
class Form1;
class Form2;
class Form4;

// The four windows of the program. Each exists at most once and is reached by name; the
// first reference creates it from its definition and runs its load handler, and a window
// created by anything but a show stays hidden. A dialog closed through its frame is
// destroyed with its texts, and the next reference creates it afresh.
class Forms final : public engine::Dialogs {
public:
    Forms(Toolkit& toolkit, engine::WallClock& clock, engine::Beeper& beeper,
          engine::AlarmState& alarmState);
    ~Forms() override;
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    // Form1 is the start-up window: created first, its load handler shows the main
    // window, then Form1 itself is shown in front of it.
    void startUp();

    MainForm& mainForm();
    Form1& form1();
    Form2& form2();
    Form4& form4();

    // Shows a window modeless: centred on the screen the first time after its creation,
    // brought to the front and made active. The dialogs that the menu shows are owned by
    // the main window; the start-up window is not.
    enum class Owner { None, MainForm };
    void show(MainForm& window);
    void show(Dialog& dialog, Owner owner = Owner::MainForm);

    // The user closed the dialog through its frame.
    void destroy(Dialog& dialog);

    // Called as each tick starts: a notice set in a tick after one that set none is
    // announced anew.
    void tickStarts() { noticeInLastTick_ = std::exchange(noticeInThisTick_, false); }

    // Ends the program at once: no further tick or handler runs.
    void end();

    // Runs a handler for the toolkit, unless the program has ended. A fault ends the
    // handler at the failing step, goes to the fault log, and the program goes on.
    template <class Handler> void run(std::string_view name, Handler&& handler) noexcept {
        if (!ended_)
            engine::runHandler(faults_, name, std::chrono::steady_clock::now(), handler);
    }
    bool ended() const { return ended_; }
    engine::FaultLog& faults() { return faults_; }

    Toolkit& toolkit() { return toolkit_; }
    engine::WallClock& clock() { return clock_; }
    engine::Beeper& beeper() { return beeper_; }
    engine::AlarmState& alarmState() { return alarmState_; }

    std::string fieldText(engine::Field field) override;
    void setNotice(std::string_view caption) override;

private:
    template <class Form> Form& reference(std::unique_ptr<Form>& slot);
    Dialog& dialog(const forms::Form& form);

    Toolkit& toolkit_;
    engine::WallClock& clock_;
    engine::Beeper& beeper_;
    engine::AlarmState& alarmState_;
    engine::FaultLog faults_;
    // Declared in the order of creation at start-up, so that the dialogs go first.
    std::unique_ptr<MainForm> mainForm_;
    std::unique_ptr<Form1> form1_;
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Form4> form4_;
    bool noticeInThisTick_ = false;
    bool noticeInLastTick_ = false;
    bool ended_ = false;
};

} // namespace ui
