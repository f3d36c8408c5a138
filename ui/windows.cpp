#include "ui/windows.h"

#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/toolkit.h"

#include <QApplication>
#include <QScreen>
#include <QWindow>

namespace ui {
namespace {

// Centres a window on the screen by its frame, as the user sees it. The window manager
// puts the frame around a window only once it is shown: until then the window is centred
// by its client area, and moved once more when the frame arrives. Without a window
// manager there is no frame, and nothing moves.
class FrameCentring final : public QObject {
public:
    explicit FrameCentring(QWidget& window)
        : QObject(&window)
        , window_(window) {
        window.winId(); // the native window, which reports the frame
        centre();
        window.windowHandle()->installEventFilter(this);
    }

    bool eventFilter(QObject* handle, QEvent* event) override {
        if (event->type() == QEvent::Expose && window_.windowHandle()->isExposed()) {
            handle->removeEventFilter(this); // moving may expose the window again, at once
            if (!window_.windowHandle()->frameMargins().isNull())
                centre();
            deleteLater();
        }
        return false;
    }

private:
    void centre() {
        QWindow& handle = *window_.windowHandle();
        QRect frame(QPoint(), handle.size().grownBy(handle.frameMargins()));
        frame.moveCenter(window_.screen()->availableGeometry().center());
        handle.setFramePosition(frame.topLeft());
    }
    QWidget& window_;
};

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

void Windows::StartUp() { show(form1()); }

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
        new FrameCentring(window);
        mainFormShownBefore_ = true;
    }
    bringToFront(window);
}

void Windows::show(FormWindow& window) {
    if (!window.shownBefore()) {
        new FrameCentring(window);
        window.markShown();
    }
    bringToFront(window);
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
    form1().setCaption("Label4", qstr(caption));
    // For those who cannot hear the chime or look at another window: the clock asks for
    // attention as the desktop has it done (its taskbar entry flashes), muted or not.
    QApplication::alert(&mainForm());
}

} // namespace ui
