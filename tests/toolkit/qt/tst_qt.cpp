// The Qt front-end on the offscreen platform, with a clock that stands where the test puts
// it and a beeper that counts: the windows built from their definitions as the user meets
// them (start-up, owned dialogs, the close box, the keyboard), the dial painted, and the
// fault log.

#include "forms/definitions.h"
#include "forms/tab_order.h"
#include "toolkit/qt/clock_window.h"
#include "toolkit/qt/text.h"
#include "toolkit/qt/toolkit.h"
#include "ui/main_form.h"
#include "ui/program.h"

#include "../../standing_clock.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

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
    void menu(const QString& command) { main().menuBar()->findChild<QAction*>(command)->trigger(); }
};

} // namespace

class TestQt : public QObject {
    Q_OBJECT
private slots:
    // Dialogs closed by the user, and those the program leaves, are deleted once their events
    // are over: with the program, before the next one starts.
    void cleanup() { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Start-up shows the clock and the alarm time dialog, unowned, built from their definitions
    // in twips; the first tick creates the other two dialogs hidden. (That the dialog is active,
    // with the focus and the name in its hour field, the end-to-end tests see on real desktops.)
    // The dial as painted at 10:10:40: the blue face, an orange mark at the middle of the top
    // edge, the thick yellow hour hand towards ten o'clock. The dialogs' labels lie on the
    // window's face, as the user sees them: around their text, the dialog shows the face that
    // it shows beside them.
    void theClockWindowFromStartUpToItsCloseBox() {
        Program p;
        QVERIFY(p.main().isVisible() && p.form("Form1")->isVisible() && !p.form("Form2"));
        QVERIFY(!p.form("Form1")->windowHandle()->transientParent()); // the start-up window
        QCOMPARE(p.main().clientArea().size(), QSize(481, 359));
        QCOMPARE(p.form("Form1")->size(), QSize(302, 226));
        const auto* hour = p.form("Form1")->findChild<QLineEdit*>("Text1");
        QCOMPARE(hour->geometry(), QRect(16, 80, 73, 33));
        QVERIFY(hour->font().bold() && hour->font().pointSize() == 18);
        p.program.forms().mainForm().Timer1_Timer();
        QVERIFY(p.form("Form2") && !p.form("Form2")->isVisible() && !p.form("Form4")->isVisible());
        const QImage dial = p.main().clientArea().grab().toImage();
        QCOMPARE(dial.pixelColor(5, 5), QColor(0, 0, 255));
        QCOMPARE(dial.pixelColor(240, 4), QColor(255, 128, 0));
        QCOMPARE(dial.pixelColor(120, 134), QColor(255, 255, 0));
        const QImage shown = p.form("Form1")->grab().toImage();
        const QColor face = shown.pixelColor(2, 2);
        for (const forms::Control& def : forms::form1.controls) {
            const QWidget* label = p.form("Form1")->findChild<QWidget*>(qstr(def.name));
            if (def.kind == forms::Kind::Label) // a pixel in from the corner below and after it
                QCOMPARE(shown.pixelColor(label->geometry().bottomRight() - QPoint(1, 1)), face);
        }
        // However narrow the user makes the clock window, every command stays on its bar.
        p.main().resize(200, p.main().height());
        QMenuBar& bar = *p.main().menuBar();
        QTRY_COMPARE(bar.width(), p.main().width());
        for (QAction* command : bar.actions())
            QVERIFY(bar.rect().contains(bar.actionGeometry(command)));
        // A fault in a handler reaches the desktop's log in the program's own category, naming
        // the handler, as critical. The program goes on: the readout follows the clock within a
        // fraction of a second, as the clock's second turns right after a tick of the clock
        // window's own timer, and a timer of a whole second would show it a second late.
        static QStringList seen;
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                seen << QString::number(type) + ' ' + context.category + ' ' + message;
            });
        p.silent = true;
        p.form("Form1")->findChild<QPushButton*>("Command1")->click();
        qInstallMessageHandler(previous);
        QCOMPARE(seen, QStringList({"2 alarmclock.faults Form1.Command1_Click failed: "
                                    "std::runtime_error: no sound"}));
        p.at.second = 41;
        const QLabel* readout = p.main().findChild<QLabel*>("Label1");
        QTRY_COMPARE(readout->text(), "10:10:41"); // the timer has ticked
        p.at.second = 42;
        QTRY_COMPARE_WITH_TIMEOUT(readout->text(), "10:10:42", 600);
        // Its close box ends the program.
        p.main().close();
        QCOMPARE(p.quits, 1);
    }

    // Each dialog as the keyboard meets it, shown from the menu: it is active and owned by the
    // clock window, the focus starts in its first field and Tab walks the fields and the
    // button in the definition's tab order; Enter in a field presses nothing, Space on the
    // button presses it. Then its close box.
    void keyboardAndTheCloseBox_data() {
        QTest::addColumn<const forms::Form*>("form"); // shown by the command that names the row
        QTest::newRow("jikokusettei") << &forms::form1;
        QTest::newRow("kankaku") << &forms::form2;
        QTest::newRow("happyou") << &forms::form4;
    }
    void keyboardAndTheCloseBox() {
        QFETCH(const forms::Form*, form);
        const QString command = QTest::currentDataTag();
        const QString name = qstr(form->name);
        Program p;
        p.program.forms().mainForm().Timer1_Timer();
        p.menu(command);
        p.main().activateWindow(); // the dialog, shown already, is brought back to the front
        QVERIFY(QTest::qWaitForWindowActive(&p.main()));
        p.menu(command);
        QTRY_COMPARE(QApplication::activeWindow(), p.form(name));
        // A window of its own, announced as a dialog, owned as window managers learn it.
        QCOMPARE(QAccessible::queryAccessibleInterface(p.form(name))->role(), QAccessible::Dialog);
        QCOMPARE(p.form(name)->windowHandle()->transientParent(), p.main().windowHandle());
        const std::vector<const forms::Control*> order = forms::focusOrder(*form);
        for (const forms::Control* control : order) {
            QWidget* focus = QApplication::focusWidget();
            QCOMPARE(focus->objectName(), qstr(control->name));
            if (qobject_cast<QLineEdit*>(focus))
                QTest::keySequence(focus, QKeySequence(Qt::Key_Return, Qt::Key_Enter));
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        // Round again, to the first.
        QCOMPARE(QApplication::focusWidget()->objectName(), qstr(order.front()->name));
        QCOMPARE(p.beeps, 0);
        QTest::keyClick(p.form(name)->findChild<QPushButton*>("Command1"), Qt::Key_Space);
        QCOMPARE(p.beeps, 1);
        // The close box destroys the dialog with its texts, at once for the handlers and once
        // its event is over for Qt: the menu shows it anew, empty.
        p.form(name)->findChild<QLineEdit*>("Text1")->setText("7");
        QVERIFY(!p.form(name)->close() && !p.form(name)->isVisible());
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!p.form(name));
        p.menu(command);
        QVERIFY(p.form(name)->isVisible() &&
                p.form(name)->findChild<QLineEdit*>("Text1")->text().isEmpty());
    }
};

QTEST_MAIN(TestQt)
#include "tst_qt.moc"
