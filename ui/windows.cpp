#include "ui/windows.h"

#include "ui/dialogs.h"
#include "ui/frame_centring.h"
#include "ui/main_form.h"
#include "ui/toolkit.h"

#include <QApplication>

namespace ui {
namespace {

void bringToFront(QWidget& window) {
    window.show();
    if (window.isMinimized())
        window.showNormal();
    window.raise();
    window.activateWindow();
}

} // namespace

Windows::Windows(engine::AlarmState& alarmState, engine::WallClock& clock, engine::Beeper& beeper,
                 std::function<void()> quit)
    : alarmState_(alarmState)
    , clock_(clock)
    , beeper_(beeper)
    , quit_(quit ? std::move(quit) : [] { QApplication::exit(0); }) {}

Windows::~Windows() = default;

void Windows::StartUp() { show(form1(), Owner::None); }

MainForm& Windows::mainForm() {
    if (!mainForm_) {
        mainForm_ = std::make_unique<MainForm>(*this);
        mainForm_->Form_Load();
    }
    return *mainForm_;
}

template <class Dialog> Dialog& Windows::reference(QPointer<Dialog>& slot) {
    if (slot)
        return *slot;
    // A dialog created while the main window exists belongs to it from the start; Form1,
    // created before anything else at start-up, is handed to it once its load handler
    // has brought the main window up.
    auto created = std::make_unique<Dialog>(*this, mainForm_.get());
    slot = created.get();
    // The user's close destroys the dialog: forget it at once, so that the very next
    // reference builds a new one even before the old one is deleted.
    QObject::connect(created.get(), &FormWindow::closedByUser, created.get(),
                     [&slot] { slot = nullptr; });
    if constexpr (std::is_same_v<Dialog, Form1>)
        created->Form_Load();
    if (created->parentWidget() != mainForm_.get())
        created->setParent(&mainForm(), created->windowFlags());
    return *created.release();
}

Form1& Windows::form1() { return reference(form1_); }
Form2& Windows::form2() { return reference(form2_); }
Form4& Windows::form4() { return reference(form4_); }

void Windows::show(MainForm& window) {
    if (!mainFormShownBefore_) {
        CentreByFrame(window);
        mainFormShownBefore_ = true;
        // Start-up: the window manager puts a new window in front and active by itself. Asked
        // for besides, the activation would wait for the window to be mapped and then carry
        // a newer user time than the start-up window shown meanwhile, which focus-stealing
        // prevention (mutter's) would then keep behind the clock window.
        window.show();
        return;
    }
    bringToFront(window);
}

void Windows::show(FormWindow& dialog, Owner owner) {
    dialog.setOwner(owner == Owner::MainForm ? &mainForm() : nullptr);
    if (!dialog.shownBefore()) {
        CentreByFrame(dialog);
        dialog.markShown();
    }
    bringToFront(dialog);
}

void Windows::End() {
    if (ended_)
        return;
    ended_ = true;
    if (mainForm_)
        mainForm_->stopTimer();
    quit_();
}

std::string Windows::fieldText(engine::Field field) {
    using engine::Field;
    const auto read = [](FormWindow& form, std::string_view name) {
        return form.text(name).toStdString();
    };
    switch (field) {
    case Field::Form1_Text1: return read(form1(), "Text1");
    case Field::Form1_Text2: return read(form1(), "Text2");
    case Field::Form2_Text3: return read(form2(), "Text3");
    case Field::Form2_Text1: return read(form2(), "Text1");
    case Field::Form4_Text1: return read(form4(), "Text1");
    case Field::Form4_Text2: return read(form4(), "Text2");
    case Field::Form4_Text3: return read(form4(), "Text3");
    case Field::Form4_Text4: return read(form4(), "Text4");
    case Field::Form4_Text5: return read(form4(), "Text5");
    case Field::Form4_Text6: return read(form4(), "Text6");
    }
    throw std::invalid_argument("unknown field");
}

void Windows::setNotice(std::string_view caption) {
    Form1& form = form1();
    // The alarm begins to fire: the notice appears anew, which is what screen readers
    // announce, also when it shows already since an earlier alarm.
    if (!noticeInLastTick_)
        form.setCaption("Label4", {});
    noticeInThisTick_ = true;
    form.setCaption("Label4", qstr(caption));
    // For those who cannot hear the chime or look at another window: the clock asks for
    // attention as the desktop has it done (its taskbar entry flashes), muted or not.
    QApplication::alert(&mainForm());
}

} // namespace ui
