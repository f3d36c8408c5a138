// The windows' lifecycle, start-up, and the menu and button commands.

#include "program.h"

#include <QAccessible>

class TestWindows : public QObject {
    Q_OBJECT
private slots:
    // Start-up shows the clock and, in front of it and active, the alarm time dialog; the
    // first tick creates the other two dialogs hidden and shows the time.
    void startUpAndTheFirstTick() {
        Program p;
        QVERIFY(p.main().isVisible() && p.form("Form1")->isVisible() && !p.form("Form2"));
        QCOMPARE(QApplication::activeWindow(), p.form("Form1"));
        QVERIFY(p.field("Form1", "Text1")->text().isEmpty());
        QCOMPARE(p.main().windowTitle(), "&H00FF8080&  Ver.10");
        QCOMPARE(p.main().centralWidget()->size(), QSize(481, 359));
        QCOMPARE(p.main().dial().palette().color(QPalette::Window), QColor(0, 0, 255));
        QCOMPARE(p.flags(), "0 0 0 e");
        QCOMPARE(p.state.lastBeepSec, engine::Value{std::int16_t{40}});
        QStringList captions;
        for (const QAction* action : p.main().menuBar()->actions())
            captions << action->text() + (action->menu() || action->isCheckable() ? "+" : "");
        QCOMPARE(captions.join(' '),
                 "アラーム間隔設定 発表アラーム アラーム時刻設定 アラームOFF 終了");
        p.tick();
        QVERIFY(p.form("Form2") && !p.form("Form2")->isVisible() && !p.form("Form4")->isVisible());
        QCOMPARE(p.main().windowTitle(), "2026/12/05 10:10:40     [Hozel] Ver8.1[win8.1]");
        QCOMPARE(p.main().dial().label1().text(), "10:10:40");
        QCOMPARE(p.beeps, 0);
    }

    // A menu command, or the button of a dialog: what shows, the beeps and the flags.
    void commands_data() {
        // clang-format off
        AddRows({"command", "shows", "beeps", "flags"}, {
            "kankaku|Form2|0|0 0 0 e", "happyou|Form4|0|0 0 0 e", "jikokusettei|Form1|0|0 0 0 e",
            "aramuoff aramuoff||0|0 0 1 e", "Form1||1|0 0 0 1", "Form2||1|1 0 0 e", "Form4||1|0 1 0 e"});
        // clang-format on
    }
    void commands() {
        QFETCH(QString, command);
        QFETCH(QString, shows);
        QFETCH(QString, beeps);
        QFETCH(QString, flags);
        Program p;
        p.tick();
        for (const QString& c : command.split(' '))
            c.startsWith("Form") ? p.form(c)->command1().click() : p.menu(c);
        if (!shows.isEmpty()) {
            QVERIFY(p.form(shows)->isVisible() && p.form(shows)->isWindow());
            QCOMPARE(QAccessible::queryAccessibleInterface(p.form(shows))->role(),
                     QAccessible::Dialog);
            QCOMPARE(p.form(shows)->windowIcon().pixmap(32).toImage().pixelColor(0, 0),
                     QColor(Qt::blue));
        }
        QCOMPARE(p.beeps, beeps.toInt());
        QCOMPARE(p.hushes, command.count("aramuoff"));
        QCOMPARE(p.flags(), flags);
    }

    // A fault in a handler ends that handler, and the program goes on.
    void aFailingHandlerLeavesTheProgramRunning() {
        Program p;
        p.tick();
        p.main().setWindowTitle("before");
        p.failing = true;
        p.tick();
        p.form("Form2")->command1().click();
        p.menu("aramuoff");
        QCOMPARE(p.main().windowTitle(), "before");
        QCOMPARE(p.flags(), "0 0 1 e");
        p.failing = false;
        p.tick();
        QCOMPARE(p.main().dial().label1().text(), "10:10:40");
    }

    // An open dialog shown again keeps its texts; closed, it is destroyed with them, the
    // tick creates it afresh and hidden (Form1 only while armed), and the menu shows it
    // empty.
    void aClosedDialogComesBackEmpty_data() {
        AddRows({"form", "command", "armed"}, {"Form2|kankaku|0", "Form4|happyou|0",
                                               "Form1|jikokusettei|1", "Form1|jikokusettei|0"});
    }
    void aClosedDialogComesBackEmpty() {
        QFETCH(QString, form);
        QFETCH(QString, command);
        QFETCH(QString, armed);
        Program p;
        p.tick();
        if (armed == "1")
            p.form("Form1")->command1().click();
        p.field(form, "Text1")->setText("7");
        p.main().activateWindow();
        p.menu(command);
        QCOMPARE(p.field(form, "Text1")->text(), "7");
        QTRY_COMPARE(QApplication::activeWindow(), p.form(form));
        p.form(form)->close();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!p.form(form));
        p.tick();
        QCOMPARE(p.form(form) != nullptr, form != "Form1" || armed == "1");
        QVERIFY(!p.form(form) || !p.form(form)->isVisible());
        p.menu(command);
        QVERIFY(p.form(form)->isVisible() && p.field(form, "Text1")->text().isEmpty());
        QCOMPARE(p.quits, 0);
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
