// The windows' lifecycle, start-up, menu and button commands, on the offscreen platform.

// moc needs none of the engine's headers, and its parser stumbles over <concepts>.
#ifndef Q_MOC_RUN
#include "program_fixture.h"

#include "engine/value.h"
#endif
#include "ui/dial_widget.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using engine::Value;

namespace {

QAction* menuCommand(ui::MainForm& form, const char* name) {
    return form.menuBar()->findChild<QAction*>(QString::fromLatin1(name));
}

QLineEdit* field(QWidget& form, const char* name) {
    return form.findChild<QLineEdit*>(QString::fromLatin1(name));
}

void closeThroughFrame(QWidget& window) {
    window.close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

const Value zero{std::int16_t{0}};
const Value one{std::int16_t{1}};

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT

private slots:
    void startUpShowsBothWindowsWithTheDialogInFront() {
        Program program;
        ui::Windows& windows = *program.windows;
        QVERIFY(windows.mainFormExists());
        QVERIFY(windows.form1Exists());
        QVERIFY(!windows.form2Exists());
        QVERIFY(!windows.form4Exists());
        ui::MainForm& main = windows.mainForm();
        ui::Form1& form1 = windows.form1();
        QVERIFY(main.isVisible());
        QVERIFY(form1.isVisible());
        QCOMPARE(form1.parentWidget(), &main);
        QCOMPARE(QApplication::activeWindow(), &form1);
        QVERIFY(field(form1, "Text1")->text().isEmpty());
        QVERIFY(field(form1, "Text2")->text().isEmpty());
        QCOMPARE(main.windowTitle(), QStringLiteral("&H00FF8080&  Ver.10"));
        QCOMPARE(main.centralWidget()->size(), QSize(481, 359));
        QCOMPARE(main.dial().palette().color(QPalette::Window), QColor(0, 0, 255));

        const engine::AlarmState& s = program.state;
        for (const Value* flag :
             {&s.intervalCount, &s.intervalOn, &s.alarmOff, &s.presOn, &s.presCount})
            QCOMPARE(*flag, zero);
        QCOMPARE(s.lastBeepSec, Value{std::int16_t{40}});
        QVERIFY(s.alarmArmed.isEmpty());
        QVERIFY(s.bell1Count.isEmpty());
        QCOMPARE(program.beeper.beeps, 0);
    }

    void theFirstTickCreatesTheIntervalAndPresentationDialogsHidden() {
        Program program;
        program.windows->mainForm().Timer1_Timer();
        QVERIFY(program.windows->form2Exists());
        QVERIFY(program.windows->form4Exists());
        QVERIFY(!program.windows->form2().isVisible());
        QVERIFY(!program.windows->form4().isVisible());
        QCOMPARE(program.windows->mainForm().windowTitle(),
                 QStringLiteral("2026/12/05 10:10:40     [Hozel] Ver8.1[win8.1]"));
        QCOMPARE(program.windows->mainForm().dial().label1().text(), QStringLiteral("10:10:40"));
    }

    void menuCommandsShowTheirDialogsOwnedByTheMainWindow_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("アラーム間隔設定") << "kankaku"
                                          << "Form2";
        QTest::newRow("発表アラーム") << "happyou"
                                      << "Form4";
        QTest::newRow("アラーム時刻設定") << "jikokusettei"
                                          << "Form1";
    }
    void menuCommandsShowTheirDialogsOwnedByTheMainWindow() {
        QFETCH(QString, command);
        QFETCH(QString, dialog);
        Program program;
        ui::MainForm& main = program.windows->mainForm();
        main.activateWindow();
        menuCommand(main, command.toLatin1().constData())->trigger();
        auto* shown = main.findChild<ui::FormWindow*>(dialog);
        QVERIFY(shown);
        QVERIFY(shown->isVisible());
        QVERIFY(shown->isWindow());
        QCOMPARE(shown->parentWidget(), &main);
        QCOMPARE(shown->windowIcon().pixmap(32).toImage().pixelColor(0, 0), QColor(0, 0, 255));
        QCOMPARE(QAccessible::queryAccessibleInterface(shown)->role(), QAccessible::Dialog);
        QCOMPARE(program.beeper.beeps, 0);
    }

    void theMenuBarHoldsFiveCommandsInOrder() {
        Program program;
        const QList<QAction*> actions = program.windows->mainForm().menuBar()->actions();
        QStringList captions;
        for (const QAction* action : actions) {
            QVERIFY(!action->menu());
            QVERIFY(action->isEnabled() && action->isVisible() && !action->isCheckable());
            captions << action->text();
        }
        QCOMPARE(captions, (QStringList{"アラーム間隔設定", "発表アラーム", "アラーム時刻設定",
                                        "アラームOFF", "終了"}));
    }

    void alarmOffStopsTheIntervalAndMutesSilently() {
        Program program;
        ui::Windows& windows = *program.windows;
        windows.form2().command1().click();
        QCOMPARE(program.state.intervalOn, one);
        QCOMPARE(program.beeper.beeps, 1);
        for (int twice = 0; twice < 2; ++twice) {
            menuCommand(windows.mainForm(), "aramuoff")->trigger();
            QCOMPARE(program.state.intervalOn, zero);
            QCOMPARE(program.state.alarmOff, one);
        }
        QCOMPARE(program.beeper.beeps, 1);
        QVERIFY(windows.form1().isVisible());
    }

    void aClosedDialogLosesItsTextsAndTheTickRecreatesItHidden_data() {
        QTest::addColumn<QString>("dialog");
        QTest::addColumn<QString>("textBox");
        QTest::newRow("Form2") << "Form2"
                               << "Text3";
        QTest::newRow("Form4") << "Form4"
                               << "Text6";
        QTest::newRow("Form1 while armed") << "Form1"
                                           << "Text1";
    }
    void aClosedDialogLosesItsTextsAndTheTickRecreatesItHidden() {
        QFETCH(QString, dialog);
        QFETCH(QString, textBox);
        Program program;
        ui::Windows& windows = *program.windows;
        ui::MainForm& main = windows.mainForm();
        windows.form1().command1().click(); // armed: the tick reads Form1 too
        main.Timer1_Timer();
        const auto current = [&] { return main.findChild<ui::FormWindow*>(dialog); };
        windows.show(*current());
        field(*current(), textBox.toLatin1().constData())->setText(QStringLiteral("7"));

        closeThroughFrame(*current());
        QVERIFY(!current());
        main.Timer1_Timer();
        QVERIFY(current());
        QVERIFY(!current()->isVisible());
        QVERIFY(field(*current(), textBox.toLatin1().constData())->text().isEmpty());
    }

    void aClosedForm1StaysClosedUntilArmedOrShown() {
        Program program;
        ui::Windows& windows = *program.windows;
        closeThroughFrame(windows.form1());
        QVERIFY(!windows.form1Exists());
        windows.mainForm().Timer1_Timer();
        QVERIFY(!windows.form1Exists());
        menuCommand(windows.mainForm(), "jikokusettei")->trigger();
        QVERIFY(windows.form1Exists());
        QVERIFY(windows.form1().isVisible());
        QVERIFY(field(windows.form1(), "Text1")->text().isEmpty());
    }

    void showingAnOpenDialogKeepsWhatWasTyped() {
        Program program;
        ui::Windows& windows = *program.windows;
        field(windows.form1(), "Text1")->setText(QStringLiteral("7"));
        menuCommand(windows.mainForm(), "jikokusettei")->trigger();
        QCOMPARE(field(windows.form1(), "Text1")->text(), QStringLiteral("7"));
        QCOMPARE(QApplication::activeWindow(), &windows.form1());
    }

    void enterAndEscapeInAFieldDoNotPressTheButton() {
        Program program;
        ui::Windows& windows = *program.windows;
        for (ui::FormWindow* form : {static_cast<ui::FormWindow*>(&windows.form1()),
                                     static_cast<ui::FormWindow*>(&windows.form2()),
                                     static_cast<ui::FormWindow*>(&windows.form4())}) {
            windows.show(*form);
            QSignalSpy clicks(&form->command1(), &QPushButton::clicked);
            QLineEdit* text1 = field(*form, "Text1");
            text1->setFocus();
            QTest::keyClick(text1, Qt::Key_Return);
            QTest::keyClick(text1, Qt::Key_Enter);
            QTest::keyClick(text1, Qt::Key_Escape);
            QCOMPARE(clicks.count(), 0);
            QVERIFY(form->isVisible());
        }
        QCOMPARE(program.beeper.beeps, 0);
    }

    void tabMovesThroughForm2SecondsStartMinutes() {
        Program program;
        ui::Windows& windows = *program.windows;
        ui::Form2& form2 = windows.form2();
        windows.show(form2);
        QApplication::setActiveWindow(&form2);
        const QList<QWidget*> expected{field(form2, "Text1"), &form2.command1(),
                                       field(form2, "Text3"), field(form2, "Text1")};
        QCOMPARE(form2.focusWidget(), expected.front());
        for (QWidget* next : expected.mid(1)) {
            QTest::keyClick(form2.focusWidget(), Qt::Key_Tab);
            QCOMPARE(form2.focusWidget(), next);
        }
    }

    void setAlarmTimeStopsAPresentationRun() {
        Program program;
        ui::Windows& windows = *program.windows;
        windows.form4().command1().click();
        QCOMPARE(program.state.presOn, one);
        windows.form1().command1().click();
        QCOMPARE(program.state.presOn, zero);
        QCOMPARE(program.state.presCount, zero);
        QCOMPARE(program.state.alarmArmed, one);
        QCOMPARE(program.beeper.beeps, 2);
    }

    void closingTheMainWindowEndsTheProgram_data() {
        QTest::addColumn<bool>("throughFrame");
        QTest::newRow("frame close box") << true;
        QTest::newRow("終了") << false;
    }
    void closingTheMainWindowEndsTheProgram() {
        QFETCH(bool, throughFrame);
        Program program;
        ui::MainForm& main = program.windows->mainForm();
        if (throughFrame)
            main.close();
        else
            menuCommand(main, "end")->trigger();
        QCOMPARE(program.quits, 1);
        QVERIFY(!main.timer1().isActive());
        QCOMPARE(program.beeper.beeps, 0);
    }

    void closingADialogNeverEndsTheProgram() {
        Program program;
        closeThroughFrame(program.windows->form1());
        QCOMPARE(program.quits, 0);
        QVERIFY(program.windows->mainForm().timer1().isActive());
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
