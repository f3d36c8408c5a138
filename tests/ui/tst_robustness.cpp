// The windows misbehaving on the offscreen platform: a main window without a client area
// or minimised, dialogs closed while their alarm runs, and ticks while a dialog is going.

#ifndef Q_MOC_RUN
#include "program_fixture.h"

#include "engine/value.h"
#endif
#include "ui/dial_widget.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

void type(ui::FormWindow& form, const char* textBox, const char* text) {
    form.findChild<QLineEdit*>(QString::fromLatin1(textBox))->setText(QString::fromUtf8(text));
}

// Ticks ten times in each of the next `seconds` seconds and returns the beeps heard.
int runSeconds(Program& program, int seconds) {
    const int before = program.beeper.beeps;
    for (int s = 0; s < seconds; ++s) {
        program.clock.at.second = (program.clock.at.second + 1) % 60;
        for (int i = 0; i < 10; ++i)
            program.windows->mainForm().Timer1_Timer();
    }
    return program.beeper.beeps - before;
}

void deferredDeletes() { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace

class RobustnessTest : public QObject {
    Q_OBJECT

private slots:
    // The hands and marks collapse to the corner, and every tick still reaches the alarms
    // and the title.
    void aMainWindowWithoutClientAreaOrMinimisedKeepsTicking_data() {
        QTest::addColumn<bool>("minimised");
        QTest::newRow("zero size") << false;
        QTest::newRow("minimised") << true;
    }
    void aMainWindowWithoutClientAreaOrMinimisedKeepsTicking() {
        QFETCH(bool, minimised);
        Program program;
        ui::MainForm& main = program.windows->mainForm();
        if (minimised) {
            main.showMinimized();
        } else {
            main.setMinimumSize(0, 0);
            main.dial().setMinimumSize(0, 0);
            main.resize(0, 0);
            main.dial().resize(0, 0);
            QCOMPARE(main.dial().ScaleWidth(), 0.0f);
            QCOMPARE(main.dial().ScaleHeight(), 0.0f);
        }
        type(program.windows->form2(), "Text3", "0");
        type(program.windows->form2(), "Text1", "2");
        program.windows->form2().command1().click();
        QCOMPARE(runSeconds(program, 6), 3);
        QVERIFY(main.windowTitle().startsWith(QStringLiteral("2026/12/05 10:10:46")));
        if (!minimised) {
            for (const auto line : {face::Line::Line1, face::Line::Line9, face::Line::Line12})
                for (const float end : main.dial().line(line).ends)
                    QCOMPARE(end, 0.0f);
        }
    }

    // Closing a dialog empties its alarm's fields from the next tick: the interval length
    // becomes 0 (no further beep), the bell times 0 (bells 2 and 3 at once, and the end).
    void aDialogClosedDuringARun() {
        Program program;
        ui::Windows& windows = *program.windows;
        for (const char* box : {"Text1", "Text3", "Text5"})
            type(windows.form4(), box, "1");
        for (const char* box : {"Text2", "Text4", "Text6"})
            type(windows.form4(), box, "0");
        type(windows.form2(), "Text3", "0");
        type(windows.form2(), "Text1", "3");
        windows.form4().command1().click();
        windows.form2().command1().click();
        QCOMPARE(runSeconds(program, 10), 3);
        windows.form2().close();
        windows.form4().close();
        deferredDeletes();
        QCOMPARE(runSeconds(program, 10), 5);
        QCOMPARE(program.state.presOn, engine::Value{std::int16_t{0}});
        QCOMPARE(runSeconds(program, 60), 0);
    }

    // A dialog closed by the user stays until the event loop deletes it. A tick in between
    // builds its successor; a second close of the old one, or a tick while it is being
    // destroyed, must leave the successor the one that the tick reads.
    void ticksWhileAClosedDialogIsGoing() {
        Program program;
        ui::Windows& windows = *program.windows;
        ui::MainForm& main = windows.mainForm();
        QPointer<ui::Form2> old = &windows.form2();
        windows.show(*old);
        old->close();
        main.Timer1_Timer();
        QVERIFY(old);
        ui::Form2* successor = &windows.form2();
        QVERIFY(successor != old);
        old->close(); // the window system repeats the close before the deletion
        connect(old, &QObject::destroyed, &main, [&main] { main.Timer1_Timer(); });
        deferredDeletes();
        QVERIFY(!old);
        QCOMPARE(&windows.form2(), successor);

        windows.show(*successor);
        type(*successor, "Text3", "0");
        type(*successor, "Text1", "2");
        successor->command1().click();
        QCOMPARE(runSeconds(program, 4), 2);
        QCOMPARE(main.findChildren<ui::Form2*>().size(), 1);
    }

    // Each close and reopen builds one dialog and the old ones are gone: nothing piles up.
    void closingAndReopeningManyTimesLeavesOneDialogEach() {
        Program program;
        ui::Windows& windows = *program.windows;
        for (int i = 0; i < 200; ++i) {
            windows.show(windows.form4());
            windows.show(windows.form2());
            windows.show(windows.form1());
            windows.form4().close();
            windows.form2().close();
            windows.form1().close();
            program.windows->mainForm().Timer1_Timer();
            deferredDeletes();
        }
        ui::MainForm& main = windows.mainForm();
        QCOMPARE(main.findChildren<ui::FormWindow*>().size(), 2); // Form2, Form4 of the tick
        QCOMPARE(program.quits, 0);
    }
};

QTEST_MAIN(RobustnessTest)
#include "tst_robustness.moc"
