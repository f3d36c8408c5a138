#pragma once

#include "engine/alarm_state.h"
#include "engine/fault_log.h"
#include "engine/ports.h"

#include <QPointer>

#include <functional>
#include <memory>
#include <utility>

class QWidget;

namespace ui {

class MainForm;
class FormWindow;
class Form1;
class Form2;
class Form4;

// The four windows of the program. Each exists at most once and is reached by name;
// the first reference creates it from its definition and runs its load handler, and a
// window created by anything but a show stays hidden. A dialog closed through its frame
// is destroyed with its texts, and the next reference creates it afresh.
class Windows final : public engine::Dialogs {
public:
    // quit leaves the event loop; the default is the application's.
    Windows(engine::AlarmState& alarmState, engine::WallClock& clock, engine::Beeper& beeper,
            std::function<void()> quit = {});
    ~Windows() override;
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // Form1 is the start-up window: created first, its load handler shows the main
    // window, then Form1 itself is shown in front of it.
    void StartUp();

    MainForm& mainForm();
    Form1& form1();
    Form2& form2();
    Form4& form4();

    // Shows a window modeless: centred on the screen the first time after its creation,
    // brought to the front and made active. The dialogs that the menu shows are owned by
    // the main window; the start-up window is not.
    enum class Owner { None, MainForm };
    void show(MainForm& window);
    void show(FormWindow& dialog, Owner owner = Owner::MainForm);

    // Called as each tick starts: a notice set in a tick after one that set none is
    // announced anew.
    void tickStarts() { noticeInLastTick_ = std::exchange(noticeInThisTick_, false); }

    // Ends the program at once: no further tick or handler runs.
    void End();

    engine::AlarmState& alarmState() { return alarmState_; }
    engine::WallClock& clock() { return clock_; }
    engine::Beeper& beeper() { return beeper_; }
    // Where the handlers' faults go: the log category alarmclock.faults, on standard error.
    engine::FaultLog& faults() { return faults_; }

    std::string fieldText(engine::Field field) override;
    void setNotice(std::string_view caption) override;

private:
    template <class Dialog> Dialog& reference(QPointer<Dialog>& slot);

    engine::AlarmState& alarmState_;
    engine::WallClock& clock_;
    engine::Beeper& beeper_;
    std::function<void()> quit_;
    engine::FaultLog faults_;
    std::unique_ptr<MainForm> mainForm_;
    QPointer<Form1> form1_;
    QPointer<Form2> form2_;
    QPointer<Form4> form4_;
    bool mainFormShownBefore_ = false;
    bool noticeInThisTick_ = false;
    bool noticeInLastTick_ = false;
    bool ended_ = false;
};

} // namespace ui
