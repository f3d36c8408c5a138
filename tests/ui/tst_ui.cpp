// The clock window and its dialogs on the offscreen platform, started as the user starts
// them, with a clock that stands where the test puts it and a beeper that counts: start-up,
// the windows' lifecycle, the menu and button commands, the keyboard in the dialogs, and
// the clock face (7215 x 5385 twips) under Japanese regional settings; and the beep
// worker against sinks that the test controls, and the sound server's sink.

#include "ui/beep/beep_queue.h"
#include "ui/beep/system_sink.h"
#include "ui/dial_widget.h"
#include "ui/dialogs.h"
#include "ui/main_form.h"
#include "ui/windows.h"

#include "../engine/rows.h"

#include "ui/beep/pulse_sink.h"
#include "ui/beep/tone.h"

#include <QAccessible>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

struct Program final : engine::WallClock, engine::Beeper {
    int beeps = 0, quits = 0, hushes = 0;
    bool failing = false; // the clock and the sound fail
    engine::LocalDateTime at{2026, 12, 5, 10, 10, 40};
    engine::AlarmState state;
    ui::Windows windows{state, *this, *this, [this] { ++quits; }};

    Program() {
        windows.StartUp();
        QApplication::processEvents();
    }
    int hour() override { return at.hour; }
    int minute() override { return at.minute; }
    int second() override { return failing ? throw std::runtime_error("no clock") : at.second; }
    engine::LocalDateTime now() override { return at; }
    void beep() override { ++beeps; }
    void hush() override { failing ? throw std::runtime_error("no sound") : void(++hushes); }

    ui::MainForm& main() { return windows.mainForm(); }
    ui::FormWindow* form(const QString& name) { return main().findChild<ui::FormWindow*>(name); }
    QLineEdit* field(const QString& form, const char* name) {
        return this->form(form)->findChild<QLineEdit*>(name);
    }
    void menu(const QString& command) { main().menuBar()->findChild<QAction*>(command)->trigger(); }
    void tick() { main().Timer1_Timer(); }
    // The flags intervalOn presOn alarmOff alarmArmed, e for empty.
    QString flags() {
        QStringList flags;
        for (const auto* v : {&state.intervalOn, &state.presOn, &state.alarmOff, &state.alarmArmed})
            flags << (v->isEmpty() ? "e" : QString::number(*v->toDouble()));
        return flags.join(' ');
    }
};

// What a test sink saw, and what it does: it plays once `open`, sounds or throws. The test
// shares it with the sink, as a worker left behind by shutdown may outlive its queue.
struct Probe {
    std::atomic<int> starts = 0, ends = 0, interrupts = 0;
    std::atomic<bool> open = true, sounds = true, throws = false, destroyed = false,
                      destroyedHere = false;
    std::atomic<std::int64_t> lastEnd = 0, shortestGap = INT64_MAX; // steady clock, ns
    std::thread::id here = std::this_thread::get_id();

    static std::int64_t now() { return std::chrono::steady_clock::now().time_since_epoch() / 1ns; }

    static std::unique_ptr<ui::beep::Sink> sink(std::shared_ptr<Probe> p) {
        struct Sink final : ui::beep::Sink {
            std::shared_ptr<Probe> p;
            ~Sink() override {
                p->destroyedHere = std::this_thread::get_id() == p->here;
                p->destroyed = true;
            }
            bool play() override {
                if (p->lastEnd)
                    p->shortestGap = std::min<std::int64_t>(p->shortestGap, now() - p->lastEnd);
                ++p->starts;
                while (!p->open)
                    std::this_thread::sleep_for(1ms);
                ++p->ends;
                p->lastEnd = now();
                return p->throws ? throw std::runtime_error("no sound") : bool(p->sounds);
            }
            void interrupt() override { ++p->interrupts; }
        };
        auto sink = std::make_unique<Sink>();
        sink->p = std::move(p);
        return sink;
    }
};

} // namespace

class TestUi : public QObject {
    Q_OBJECT
private slots:
    // Start-up shows the clock and, in front of it and active, the alarm time dialog; the
    // first tick creates the other two dialogs hidden.
    void startUpAndTheFirstTick() {
        Program p;
        QVERIFY(p.main().isVisible() && p.form("Form1")->isVisible() && !p.form("Form2"));
        QCOMPARE(QApplication::activeWindow(), p.form("Form1"));
        QVERIFY(!p.form("Form1")->windowHandle()->transientParent()); // the start-up window
        QCOMPARE(p.flags(), "0 0 0 e");
        QCOMPARE(p.state.lastBeepSec, engine::Value{std::int16_t{40}});
        p.tick();
        QVERIFY(p.form("Form2") && !p.form("Form2")->isVisible() && !p.form("Form4")->isVisible());
        QCOMPARE(p.beeps, 0);
        // However narrow the user makes the clock window, every command stays on its bar.
        p.main().resize(200, p.main().height());
        QMenuBar& bar = *p.main().menuBar();
        QTRY_COMPARE(bar.width(), p.main().width());
        for (QAction* command : bar.actions())
            QVERIFY(bar.rect().contains(bar.actionGeometry(command)));
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
            // Owned, as window managers learn it: a dialog with the clock window as parent.
            QCOMPARE(p.form(shows)->windowHandle()->transientParent(), p.main().windowHandle());
        }
        QCOMPARE(p.beeps, beeps.toInt());
        QCOMPARE(p.hushes, command.count("aramuoff"));
        QCOMPARE(p.flags(), flags);
    }

    // Each time the alarm begins to fire, muted here, its notice appears anew, which is
    // what screen readers announce; while it goes on firing, it does not.
    void theNoticeIsAnnouncedAtEveryAlarm() {
        struct Shows final : QObject {
            int count = 0;
            bool eventFilter(QObject*, QEvent* event) override {
                count += event->type() == QEvent::Show;
                return false;
            }
        } shows;
        Program p;
        p.form("Form1")->findChild<QLabel*>("Label4")->installEventFilter(&shows);
        p.field("Form1", "Text1")->setText("10");
        p.field("Form1", "Text2")->setText("10");
        p.form("Form1")->command1().click();
        p.menu("aramuoff");
        for (const int hour : {10, 10, 11, 10})
            p.at.hour = hour, p.tick();
        QCOMPARE(p.form("Form1")->caption("Label4"), "時間ですよ！");
        QCOMPARE(shows.count, 2);
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
        p.main().close(); // the clock window's close box ends the program
        QCOMPARE(p.quits, 1);
    }

    // Each dialog as the keyboard meets it, shown from the menu: it is active, the focus
    // starts in its first field and Tab walks the fields and the button in their order;
    // Enter in a field presses nothing, Space on the button presses it.
    void keyboard_data() {
        AddRows({"command", "form", "order"},
                {"jikokusettei|Form1|Text1 Text2 Command1", "kankaku|Form2|Text1 Command1 Text3",
                 "happyou|Form4|Text1 Text2 Text3 Text4 Text5 Text6 Command1"});
    }
    void keyboard() {
        QFETCH(QString, command);
        QFETCH(QString, form);
        QFETCH(QString, order);
        Program p;
        p.tick();
        p.menu(command);
        p.main().activateWindow(); // the dialog, shown already, is brought back to the front
        QVERIFY(QTest::qWaitForWindowActive(&p.main()));
        p.menu(command);
        QTRY_COMPARE(QApplication::activeWindow(), p.form(form));
        QStringList walked;
        for (int i = 0; i <= order.count(' '); ++i) {
            QWidget* focus = QApplication::focusWidget();
            walked << focus->objectName();
            if (qobject_cast<QLineEdit*>(focus))
                for (const int key : {Qt::Key_Return, Qt::Key_Enter})
                    QTest::keyClick(focus, Qt::Key(key));
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        QCOMPARE(walked.join(' '), order);
        QCOMPARE(p.beeps, 0);
        QTest::keyClick(&p.form(form)->command1(), Qt::Key_Space);
        QCOMPARE(p.beeps, 1);
    }

    // Each field is read as the unit that its label, to its right, names: what is typed
    // into the field left of 分 is read as minutes, row by row. The engine's fields of a
    // dialog, from `first` on, are in the same order.
    void fieldsSitLeftOfTheirUnits_data() {
        AddRows({"form", "first", "units"},
                {"Form1|0|時分", "Form2|2|分秒", "Form4|4|分秒分秒分秒"});
    }
    void fieldsSitLeftOfTheirUnits() {
        QFETCH(QString, form);
        QFETCH(QString, first);
        QFETCH(QString, units);
        Program p;
        p.form("Form1")->command1().click(); // armed, so that Form1 is read too
        p.tick();
        std::vector<const QLabel*> labels;
        for (const QLabel* label : p.form(form)->findChildren<QLabel*>())
            if (QString("時分秒").contains(label->text()) && label->text().size() == 1)
                labels.push_back(label);
        std::ranges::sort(labels, {}, [](const QLabel* l) { return l->y() / 30 * 10000 + l->x(); });
        QString read;
        for (std::size_t i = 0; i < labels.size(); ++i) {
            const QRect unit = labels[i]->geometry();
            read += labels[i]->text();
            QLineEdit* left = nullptr;
            for (QLineEdit* field : p.form(form)->findChildren<QLineEdit*>())
                if (field->geometry().right() < unit.left() &&
                    field->geometry().contains(field->geometry().center().x(), unit.center().y()) &&
                    (!left || field->x() > left->x()))
                    left = field;
            QVERIFY(left);
            left->setText(QString::number(i));
        }
        QCOMPARE(read, units);
        for (int i = 0; i < units.size(); ++i)
            QCOMPARE(p.windows.fieldText(engine::Field(first.toInt() + i)), std::to_string(i));
    }

    // The readout without leading zeros; the title with the short date and the long time
    // (the date alone at midnight); the marks at the middles of the edges, 1/32 of the width
    // or height long; the second, minute and hour hands from the centre to the ends their
    // tables pick (sixteenths of each edge, quarters for the hour), X2 Y2 of each.
    void face_data() {
        // clang-format off
        AddRows({"time", "readout", "hands"}, {
            "21:56:38|21:56:38|0 5048.4375 1803.75 0 0 2692.5", "9:05:03|9:5:3|4960.3125 0 5862.1875 0 0 2692.5",
            "0:00:00|0:0:0|3607.5 0 3607.5 0 3607.5 0", "0:00:01|0:0:1|4058.4375 0 3607.5 0 3607.5 0",
            "1:07:08|1:7:8|7215 336.5625 6764.0625 0 5411.25 0", "2:22:23|2:22:23|6764.0625 5385 7215 5048.4375 7215 1346.25",
            "5:37:38|5:37:38|0 5048.4375 450.9375 5385 5411.25 5385", "8:52:53|8:52:53|450.9375 0 0 336.5625 0 4038.75",
            "11:59:07|11:59:7|6764.0625 0 3156.5625 0 1803.75 0", "14:08:22|14:8:22|7215 5048.4375 7215 336.5625 7215 1346.25",
            "17:23:37|17:23:37|450.9375 5385 6764.0625 5385 5411.25 5385", "20:38:52|20:38:52|0 336.5625 0 5048.4375 0 4038.75",
            "23:53:59|23:53:59|3156.5625 0 450.9375 0 1803.75 0"});
        // clang-format on
    }
    void face() {
        QFETCH(QString, time);
        QFETCH(QString, readout);
        QFETCH(QString, hands);
        Program p;
        const QTime t = QTime::fromString(time, "h:mm:ss");
        p.at = {2026, 12, 4, 12, 30, 30}; // a reading that the next tick replaces
        p.tick();
        p.at = {2026, 12, 5, t.hour(), t.minute(), t.second()};
        p.tick();
        QStringList marks, ends;
        using L = face::Line;
        for (const L line : {L::Line9, L::Line10, L::Line11, L::Line12})
            for (const float end : p.main().dial().line(line).ends)
                marks << QString::number(end, 'g', 10);
        for (const L hand : {L::Line1, L::Line2, L::Line3}) { // from the centre
            const auto& at = p.main().dial().line(hand).ends;
            QCOMPARE(QPointF(at[0], at[1]), QPointF(3607.5, 2692.5));
            ends << QString::number(at[2], 'g', 10) << QString::number(at[3], 'g', 10);
        }
        QCOMPARE(marks.join(' '), "3607.5 168.28125 3607.5 0 6989.53125 2692.5 7215 2692.5 "
                                  "3607.5 5216.71875 3607.5 5385 0 2692.5 225.46875 2692.5");
        QCOMPARE(ends.join(' '), hands);
        QCOMPARE(p.main().dial().label1().text(), readout);
        const QString date = "2026/12/05" + QString(time == "0:00:00" ? "" : " " + time);
        QCOMPARE(p.main().windowTitle(), date + "     [Hozel] Ver8.1[win8.1]");
    }

    // A request never waits for the sink; what waits behind a beep is bounded; hushed, it
    // is dropped, and the queue takes requests again; beeps in a row play a gap apart.
    void requestsAndWaitingBeeps() {
        auto probe = std::make_shared<Probe>();
        probe->open = false;
        ui::beep::BeepQueue queue(Probe::sink(probe), {.maxPending = 4, .gap = 300ms});
        QVERIFY(queue.request());
        QTRY_COMPARE(probe->starts.load(), 1);
        int accepted = 0;
        for (int i = 0; i < 20; ++i)
            accepted += queue.request();
        QCOMPARE(accepted, 4);
        queue.hush();
        queue.request();
        queue.request();
        probe->open = true;
        QTRY_COMPARE(probe->ends.load(), 3);
        QVERIFY(probe->shortestGap >= std::int64_t{300'000'000});
        QTest::qWait(400);
        QCOMPARE(probe->starts.load(), 3);
    }

    // Shutting down interrupts a hung sink, leaves it behind and plays nothing more; a
    // worker that ends in time is joined, so its sink is gone, on this thread, with the
    // queue (a worker left behind may release it last: many rounds tell them apart). A
    // sink that throws costs its beep only.
    void shutdownAndFaults_data() { AddRows({"hangs", "throws"}, {"1|0", "0|0", "0|1"}); }
    void shutdownAndFaults() {
        QFETCH(QString, hangs);
        QFETCH(QString, throws);
        const bool hung = hangs == "1";
        for (int round = 0; round < (hung ? 1 : 200); ++round) {
            auto probe = std::make_shared<Probe>();
            probe->open = !hung;
            probe->throws = throws == "1";
            QElapsedTimer shutdown;
            {
                ui::beep::BeepQueue queue(Probe::sink(probe), {.gap = 0ms, .shutdownWait = 100ms});
                queue.request();
                queue.request();
                while (probe->starts < (hung ? 1 : 2) || probe->ends < (hung ? 0 : 2))
                    std::this_thread::yield();
                shutdown.start();
            }
            QVERIFY(shutdown.elapsed() < 1000 && probe->interrupts == 1);
            probe->open = true; // a worker left behind ends its beep and releases the sink
            QTRY_VERIFY(probe->destroyed);
            QCOMPARE(probe->destroyedHere.load(), !hung);
        }
    }

    // The chain tries its sinks in order until one sounds; once interrupted, it tries none.
    void theFirstSinkThatSoundsWins() {
        std::vector<std::shared_ptr<Probe>> probes;
        std::vector<std::unique_ptr<ui::beep::Sink>> sinks;
        for (const bool sounds : {false, true, true}) {
            probes.push_back(std::make_shared<Probe>());
            probes.back()->sounds = sounds;
            sinks.push_back(Probe::sink(probes.back()));
        }
        ui::beep::FirstThatSounds chain(std::move(sinks));
        QVERIFY(chain.play());
        chain.interrupt();
        QVERIFY(!chain.play());
        QCOMPARE(probes[0]->ends + probes[1]->ends * 10 + probes[2]->ends * 100, 11);
    }

    // A server that is missing fails at once and is tried again at the next beep (here it
    // is then there and hangs); one that accepts and never answers is given up within the
    // deadlines, and then left alone: the next beep fails at once.
    void aServerThatIsMissingOrHungIsGivenUp_data() { AddRows({"listening"}, {"0", "1"}); }
    void aServerThatIsMissingOrHungIsGivenUp() {
        QFETCH(QString, listening);
        const bool listens = listening == "1";
        QTemporaryDir dir;
        sockaddr_un address{AF_UNIX, {}};
        qstrncpy(address.sun_path, qPrintable(dir.filePath("native")), sizeof address.sun_path);
        const int server = socket(AF_UNIX, SOCK_STREAM, 0);
        const auto serve = [&] {
            return bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                   listen(server, 8) == 0;
        };
        QVERIFY(!listens || serve());
        qputenv("PULSE_SERVER", QByteArray("unix:") + address.sun_path);
        ui::beep::SoundServerSink pulse(ui::beep::SynthesizeTone(), 48000);
        QElapsedTimer played;
        played.start();
        QVERIFY(!pulse.play() && played.elapsed() < (listens ? 3000 : 800));
        QVERIFY(listens || serve());
        played.start();
        QVERIFY(!pulse.play() && (listens ? played.elapsed() < 150 : played.elapsed() >= 300));
        close(server);
    }
};

QTEST_MAIN(TestUi)
#include "tst_ui.moc"
