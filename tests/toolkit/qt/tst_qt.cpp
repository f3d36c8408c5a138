// The Qt front-end on the offscreen platform, with a clock that stands where the test puts it
// and a beeper that counts: the windows built from their definitions as the user meets them
// (start-up, owned dialogs, the close box, the keyboard), the dial painted, the fault log, and
// what the program answers while the chime holds it.

#include "forms/definitions.h"
#include "forms/tab_order.h"
#include "toolkit/qt/accessibility.h"
#include "toolkit/qt/clock_window.h"
#include "toolkit/qt/text.h"
#include "toolkit/qt/toolkit.h"
#include "ui/main_form.h"
#include "ui/program.h"

#include "support/standing_clock.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include <optional>

using toolkit::qt::qstr;

namespace {

struct Program final : StandingClock, engine::Beeper {
    int beeps = 0, quits = 0;
    bool silent = false; // the sound fails
    toolkit::qt::QtToolkit toolkit{[this] { ++quits; }};
    ui::Program program{toolkit, *this, *this};

    void beep() override { silent ? throw std::runtime_error("no sound") : void(++beeps); }

    static QWidget* form(const QString& name) { // the top-level window of that name, or none
        const QWidgetList windows = QApplication::topLevelWidgets();
        const auto found = std::ranges::find(windows, name, &QObject::objectName);
        return found == windows.end() ? nullptr : *found;
    }
    auto& main() { return *qobject_cast<toolkit::qt::MainWindow*>(form("mainForm")); }
    void tick() { program.windows().reference<ui::MainForm>().Timer1_Timer(); }
    void menu(const QString& command) { main().menuBar()->findChild<QAction*>(command)->trigger(); }
    // The clock window, activated.
    toolkit::qt::MainWindow& active() {
        main().activateWindow();
        [this] { QVERIFY(QTest::qWaitForWindowActive(&main())); }();
        return main();
    }
    // The dialog of the test's row, shown by the row's menu command (its name) and active.
    QWidget& shownByTheRow() {
        QFETCH(const forms::FormDefinition*, dialog);
        tick();
        menu(QTest::currentDataTag());
        QWidget* shown = form(qstr(dialog->name));
        [&] { QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), shown, 5000); }();
        return *shown;
    }
};

// Alt pressed and released, as the window system delivers it to the window: at a time of its own.
void systemAlt(QWidget& window) {
    static ulong time = 1000;
    QKeyEvent pressed(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    pressed.setTimestamp(++time);
    QCoreApplication::sendEvent(&window, &pressed);
    QKeyEvent released(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    released.setTimestamp(++time);
    QCoreApplication::sendEvent(&window, &released);
}

// Posted to an object, the call runs as its event is delivered.
void postCall(QObject* to, QStringList& ran, const QString& what) {
    QMetaObject::invokeMethod(
        to, [&ran, what] { ran << what; }, Qt::QueuedConnection);
}

} // namespace

class TestQt : public QObject {
    Q_OBJECT
private slots:
    // Each test meets the program as it starts. Dialogs closed by the user, and those the program
    // leaves, are deleted once their events are over: with the program, before the next test.
    void init() { p_.emplace(); }
    void cleanup() {
        p_.reset();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Start-up shows the clock and the alarm time dialog, unowned, built from their definitions
    // in twips. (That the dialog is active, with the focus and the name in its hour field, the
    // end-to-end tests see on real desktops.)
    void startUpShowsTheClockAndTheAlarmTimeDialogInTwips() {
        QVERIFY(p_->main().isVisible() && p_->form("Form1")->isVisible() && !p_->form("Form2"));
        QVERIFY(!p_->form("Form1")->windowHandle()->transientParent());
        QCOMPARE(p_->main().clientArea().size(), QSize(481, 359));
        QCOMPARE(p_->form("Form1")->size(), QSize(302, 226));
        const auto* hour = p_->form("Form1")->findChild<QLineEdit*>("Text1");
        QCOMPARE(hour->geometry(), QRect(16, 80, 73, 33));
        QVERIFY(hour->font().bold() && hour->font().pointSize() == 18);
    }

    // The first tick creates the other two dialogs, hidden.
    void theFirstTickCreatesTheOtherDialogsHidden() {
        p_->tick();
        QVERIFY(p_->form("Form2") && !p_->form("Form2")->isVisible() &&
                !p_->form("Form4")->isVisible());
    }

    // The dial as painted at 10:10:40: the blue face, an orange mark at the middle of the top
    // edge, the thick yellow hour hand towards ten o'clock.
    void theDialShowsItsFace() {
        p_->tick();
        const QImage dial = p_->main().clientArea().grab().toImage();
        QCOMPARE(dial.pixelColor(5, 5), QColor(0, 0, 255));
        QCOMPARE(dial.pixelColor(240, 4), QColor(255, 128, 0));
        QCOMPARE(dial.pixelColor(120, 134), QColor(255, 255, 0));
    }

    // The dialogs' labels lie on the window's face, as the user sees them: around their text,
    // the dialog shows the face that it shows beside them.
    void labelsLieOnTheWindowsFace() {
        const QImage shown = p_->form("Form1")->grab().toImage();
        const QColor face = shown.pixelColor(2, 2);
        for (const forms::Control& def : forms::form1Definition.controls) {
            const QWidget* label = p_->form("Form1")->findChild<QWidget*>(qstr(def.name));
            if (def.kind == forms::Kind::Label) // a pixel in from the corner below and after it
                QCOMPARE(shown.pixelColor(label->geometry().bottomRight() - QPoint(1, 1)), face);
        }
    }

    // However narrow the user makes the clock window, every command stays on its bar.
    void everyCommandStaysOnTheMenuBar() {
        p_->main().resize(200, p_->main().height());
        QMenuBar& bar = *p_->main().menuBar();
        QTRY_COMPARE(bar.width(), p_->main().width());
        for (QAction* command : bar.actions())
            QVERIFY(bar.rect().contains(bar.actionGeometry(command)));
    }

    // A fault in a handler reaches the desktop's log in the program's own category, naming the
    // handler, as critical.
    void aFaultReachesTheDesktopsLog() {
        static QStringList seen;
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                seen << QString::number(type) + ' ' + context.category + ' ' + message;
            });
        p_->silent = true;
        p_->form("Form1")->findChild<QPushButton*>("Command1")->click();
        qInstallMessageHandler(previous);
        QCOMPARE(seen, QStringList({"2 alarmclock.faults Form1.Command1_Click failed: "
                                    "std::runtime_error: no sound"}));
    }

    // The readout follows the clock within a fraction of a second, as the clock's second turns
    // right after a tick of the clock window's own timer: a timer of a whole second would show
    // it a second late.
    void theReadoutFollowsTheClockPromptly() {
        p_->at.second = 41;
        const QLabel* readout = p_->main().findChild<QLabel*>("Label1");
        QTRY_COMPARE(readout->text(), "10:10:41"); // the timer has ticked
        p_->at.second = 42;
        QTRY_COMPARE_WITH_TIMEOUT(readout->text(), "10:10:42", 600);
    }

    void theClockWindowsCloseBoxEndsTheProgram() {
        p_->main().close();
        QCOMPARE(p_->quits, 1);
    }

    // Each dialog, shown from the menu: a window of its own owned by the clock window as window
    // managers learn it, announced as a dialog, and active again when shown again.
    void aDialogShownFromTheMenuIsOwnedAndActive_data() { dialogs(); }
    void aDialogShownFromTheMenuIsOwnedAndActive() {
        QWidget& dialog = p_->shownByTheRow();
        p_->active();
        p_->menu(QTest::currentDataTag());
        QTRY_COMPARE(QApplication::activeWindow(), &dialog);
        QCOMPARE(QAccessible::queryAccessibleInterface(&dialog)->role(), QAccessible::Dialog);
        QCOMPARE(dialog.windowHandle()->transientParent(), p_->main().windowHandle());
    }

    // The focus starts in the first field and Tab walks the fields and the button in the
    // definition's tab order, round to the first again.
    void tabWalksTheTabOrder_data() { dialogs(); }
    void tabWalksTheTabOrder() {
        QFETCH(const forms::FormDefinition*, dialog);
        p_->shownByTheRow();
        const std::vector<const forms::Control*> order = forms::focusOrder(*dialog);
        for (const forms::Control* control : order) {
            QCOMPARE(QApplication::focusWidget()->objectName(), qstr(control->name));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(QApplication::focusWidget()->objectName(), qstr(order.front()->name));
    }

    // Enter in a field presses nothing; Space on the button presses it.
    void spacePressesTheButtonAndEnterNothing_data() { dialogs(); }
    void spacePressesTheButtonAndEnterNothing() {
        QWidget& dialog = p_->shownByTheRow();
        for (QLineEdit* field : dialog.findChildren<QLineEdit*>())
            QTest::keySequence(field, QKeySequence(Qt::Key_Return, Qt::Key_Enter));
        QCOMPARE(p_->beeps, 0);
        QTest::keyClick(dialog.findChild<QPushButton*>("Command1"), Qt::Key_Space);
        QCOMPARE(p_->beeps, 1);
    }

    // The close box destroys the dialog with its texts, at once for the handlers and once its
    // event is over for Qt: the menu shows it anew, empty.
    void theCloseBoxTakesTheTexts_data() { dialogs(); }
    void theCloseBoxTakesTheTexts() {
        QWidget* dialog = &p_->shownByTheRow();
        const QString name = dialog->objectName();
        dialog->findChild<QLineEdit*>("Text1")->setText("7");
        QVERIFY(!dialog->close() && !dialog->isVisible());
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!p_->form(name));
        p_->menu(QTest::currentDataTag());
        QVERIFY(p_->form(name)->isVisible() &&
                p_->form(name)->findChild<QLineEdit*>("Text1")->text().isEmpty());
    }

    // F10 in the clock window opens the menu bar on its first command, as Alt does; the arrows
    // walk the commands and Enter gives the one they are on (アラームOFF); Escape leaves.
    void f10OpensTheMenuBarOnItsFirstCommand() {
        QMenuBar& bar = *p_->active().menuBar();
        QTest::keyClick(&p_->main(), Qt::Key_F10);
        QCOMPARE(bar.activeAction(), bar.actions().front());
        QCOMPARE(QApplication::focusWidget(), &bar);
        for (int command = 1; command <= 3; ++command)
            QTest::keyClick(&bar, Qt::Key_Right);
        QCOMPARE(bar.activeAction()->objectName(), "aramuoff");
        QTest::keyClick(&bar, Qt::Key_Return);
        QCOMPARE(p_->program.alarmState().alarmOff, engine::Value{std::int16_t{1}});
        QTest::keyClick(&p_->main(), Qt::Key_F10);
        QTest::keyClick(&bar, Qt::Key_Escape);
        QVERIFY(!bar.activeAction());
    }

    // Alt that Qt's bridge to the accessibility bus delivers again, once a screen reader has seen
    // it (a copy, without the window system's time), leaves the menu bar open.
    void aCopiedAltLeavesTheMenuBarOpen() {
        QMenuBar& bar = *p_->active().menuBar();
        systemAlt(p_->main());
        QCOMPARE(bar.activeAction(), bar.actions().front());
        for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
            QCoreApplication::postEvent(&bar, new QKeyEvent(type, Qt::Key_Alt, Qt::AltModifier));
        QCoreApplication::sendPostedEvents();
        QCOMPARE(bar.activeAction(), bar.actions().front());
        systemAlt(p_->main()); // the user's Alt closes it
        QVERIFY(!bar.activeAction());
    }

    // While the chime holds the thread, the calls that wait for the objects that the bridge to
    // the accessibility bus registers are answered, and nothing else is delivered: not a call
    // queued for any other object, not the input that waits.
    void theChimeAnswersTheAccessibilityBusAlone() {
        QProcess bus;
        bus.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (!bus.waitForStarted() || !bus.waitForReadyRead())
            QSKIP("no dbus-daemon to stand for the accessibility bus");
        const QString address = QString::fromUtf8(bus.readLine()).trimmed();
        QDBusConnection a11y = QDBusConnection::connectToBus(address, "a11y");
        QObject accessible, cache, other;
        QVERIFY(a11y.registerObject("/org/a11y/atspi/accessible", &accessible) &&
                a11y.registerObject("/org/a11y/atspi/cache", &cache));
        QStringList ran;
        postCall(&accessible, ran, "accessible");
        postCall(&cache, ran, "cache");
        postCall(&other, ran, "other");
        QLineEdit& hour = *p_->form("Form1")->findChild<QLineEdit*>("Text1");
        QCoreApplication::postEvent(
            &hour, new QKeyEvent(QEvent::KeyPress, Qt::Key_8, Qt::NoModifier, "8"));
        p_->toolkit.answer();
        QCOMPARE(ran, QStringList({"accessible", "cache"}));
        QCOMPARE(hour.text(), "");
        QCoreApplication::sendPostedEvents();
        QCOMPARE(ran, QStringList({"accessible", "cache", "other"}));
        QCOMPARE(hour.text(), "8");
        a11y.unregisterObject("/org/a11y/atspi/accessible");
        a11y.unregisterObject("/org/a11y/atspi/cache");
        QDBusConnection::disconnectFromBus("a11y");
        bus.kill();
        bus.waitForFinished();
    }

private:
    std::optional<Program> p_;

    // The dialogs, each named by the menu command that shows it.
    static void dialogs() {
        QTest::addColumn<const forms::FormDefinition*>("dialog");
        QTest::newRow("jikokusettei") << &forms::form1Definition;
        QTest::newRow("kankaku") << &forms::form2Definition;
        QTest::newRow("happyou") << &forms::form4Definition;
    }
};

QTEST_MAIN(TestQt)
#include "tst_qt.moc"
