// The Qt front-end on the offscreen platform, with a clock that stands where the test puts
// it and a beeper that counts: the windows built from their definitions as the user meets
// them (start-up, owned dialogs, the close box, the keyboard), the dial painted, the system
// clock and the fault log; and the beep worker against sinks that the test controls, and
// the sound server's sink.

#include "toolkit/qt/beep/beep_queue.h"
#include "toolkit/qt/beep/pulse_sink.h"
#include "toolkit/qt/beep/system_sink.h"
#include "toolkit/qt/beep/tone.h"
#include "toolkit/qt/dial_widget.h"
#include "toolkit/qt/form_window.h"
#include "toolkit/qt/main_window.h"
#include "toolkit/qt/qt_toolkit.h"
#include "toolkit/qt/system_services.h"
#include "ui/main_form.h"
#include "ui/program.h"

#include "../../standing_clock.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace std::chrono_literals;
using toolkit::qt::FormWindow;

namespace {

// Dialogs closed by the user, and those the program leaves, are deleted once their events
// are over: with the program, before the next one starts.
struct DeleteClosed {
    ~DeleteClosed() { QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
};

struct Program final : StandingClock, engine::Beeper {
    DeleteClosed deleteClosed;
    int beeps = 0;
    toolkit::qt::QtToolkit toolkit{*this, *this, [] {}};
    ui::Program program{toolkit};

    Program() { QApplication::processEvents(); }
    void beep() override { ++beeps; }

    template <class Window> static Window* window(const QString& name) {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* window = qobject_cast<Window*>(widget);
                window && window->objectName() == name)
                return window;
        return nullptr;
    }
    toolkit::qt::MainWindow& main() { return *window<toolkit::qt::MainWindow>("mainForm"); }
    FormWindow* form(const QString& name) { return window<FormWindow>(name); }
    QLineEdit* field(const QString& form, const char* name) {
        return this->form(form)->findChild<QLineEdit*>(name);
    }
    void menu(const QString& command) { main().menuBar()->findChild<QAction*>(command)->trigger(); }
    void tick() { program.windows().mainForm().Timer1_Timer(); }
};

// What a test sink saw, and what it does: it plays once `open`, and sounds or throws. The
// test shares it with the sink, as a worker left behind by shutdown may outlive its queue.
struct Probe {
    std::atomic<int> starts = 0, ends = 0, interrupts = 0;
    std::atomic<bool> open = true, throws = false, destroyed = false, destroyedHere = false;
    std::atomic<std::int64_t> lastEnd = 0, shortestGap = INT64_MAX; // steady clock, ns
    std::thread::id here = std::this_thread::get_id();

    static std::int64_t now() { return std::chrono::steady_clock::now().time_since_epoch() / 1ns; }

    static std::unique_ptr<toolkit::qt::beep::Sink> sink(std::shared_ptr<Probe> p) {
        struct Sink final : toolkit::qt::beep::Sink {
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
                return p->throws ? throw std::runtime_error("no sound") : true;
            }
            void interrupt() override { ++p->interrupts; }
        };
        auto sink = std::make_unique<Sink>();
        sink->p = std::move(p);
        return sink;
    }
};

} // namespace

class TestQt : public QObject {
    Q_OBJECT
private slots:
    // Start-up shows the clock and, in front of it and active, the alarm time dialog, built
    // from their definitions in twips; the first tick creates the other two dialogs hidden.
    void startUpAndTheFirstTick() {
        Program p;
        QVERIFY(p.main().isVisible() && p.form("Form1")->isVisible() && !p.form("Form2"));
        QCOMPARE(QApplication::activeWindow(), p.form("Form1"));
        QVERIFY(!p.form("Form1")->windowHandle()->transientParent()); // the start-up window
        QCOMPARE(p.main().dial().size(), QSize(481, 359));
        QCOMPARE(p.form("Form1")->size(), QSize(302, 226));
        const auto* hour = p.field("Form1", "Text1");
        QCOMPARE(hour->geometry(), QRect(16, 80, 73, 33));
        QVERIFY(hour->font().bold() && hour->font().pointSize() == 18 && hour->hasFocus());
        QCOMPARE(hour->accessibleName(), "アラーム時刻 時");
        p.tick();
        QVERIFY(p.form("Form2") && !p.form("Form2")->isVisible() && !p.form("Form4")->isVisible());
        // However narrow the user makes the clock window, every command stays on its bar.
        p.main().resize(200, p.main().height());
        QMenuBar& bar = *p.main().menuBar();
        QTRY_COMPARE(bar.width(), p.main().width());
        for (QAction* command : bar.actions())
            QVERIFY(bar.rect().contains(bar.actionGeometry(command)));
    }

    // The close box destroys a dialog with its texts, at once for the handlers and once its
    // event is over for Qt: the menu shows it anew, empty.
    void theCloseBox() {
        Program p;
        p.menu("kankaku");
        p.field("Form2", "Text1")->setText("7");
        QVERIFY(!p.form("Form2")->close() && !p.form("Form2")->isVisible());
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!p.form("Form2"));
        p.menu("kankaku");
        QVERIFY(p.form("Form2")->isVisible() && p.field("Form2", "Text1")->text().isEmpty());
    }

    // Each dialog as the keyboard meets it, shown from the menu: it is active and owned by the
    // clock window, the focus starts in its first field and Tab walks the fields and the
    // button in their order; Enter in a field presses nothing, Space on the button presses it.
    void keyboard_data() {
        for (const char* column : {"command", "form", "order"})
            QTest::addColumn<QString>(column);
        QTest::newRow("Form1") << "jikokusettei"
                               << "Form1"
                               << "Text1 Text2 Command1";
        QTest::newRow("Form2") << "kankaku"
                               << "Form2"
                               << "Text1 Command1 Text3";
        QTest::newRow("Form4") << "happyou"
                               << "Form4"
                               << "Text1 Text2 Text3 Text4 Text5 Text6 Command1";
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
        // A window of its own, announced as a dialog, owned as window managers learn it.
        QCOMPARE(QAccessible::queryAccessibleInterface(p.form(form))->role(), QAccessible::Dialog);
        QCOMPARE(p.form(form)->windowHandle()->transientParent(), p.main().windowHandle());
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

    // The dial as painted at 10:10:40: the blue face, an orange mark at the middle of the
    // top edge, the thick yellow hour hand towards ten o'clock, the readout in its label.
    void theDialIsPainted() {
        Program p;
        p.tick();
        const QImage dial = p.main().dial().grab().toImage();
        QCOMPARE(dial.pixelColor(5, 5), QColor(0, 0, 255));
        QCOMPARE(dial.pixelColor(240, 4), QColor(255, 128, 0));
        QCOMPARE(dial.pixelColor(120, 134), QColor(255, 255, 0));
        QCOMPARE(p.main().dial().label1().text(), "10:10:40");
    }

    // The system's clock reads the local date and time as Qt does, field by field, from
    // readings within one second.
    void theSystemClockReadsTheLocalTime() {
        toolkit::qt::SystemClock clock;
        QDateTime before;
        QString read;
        do {
            before = QDateTime::currentDateTime();
            const engine::LocalDateTime n = clock.now();
            read =
                QString::asprintf("%d-%d-%d %d:%d:%d %d:%d:%d", n.year, n.month, n.day, n.hour,
                                  n.minute, n.second, clock.hour(), clock.minute(), clock.second());
        } while (before.toSecsSinceEpoch() != QDateTime::currentSecsSinceEpoch());
        QCOMPARE(read, before.toString("yyyy-M-d H:m:s H:m:s"));
    }

    // Faults reach the desktop's log in the program's own category, at their severity.
    void faultsAreLoggedInTheirCategory() {
        static QStringList seen;
        Program p;
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
                seen << QString::number(type) + ' ' + context.category + ' ' + message;
            });
        p.toolkit.log(engine::FaultLog::Severity::Critical, "a fault");
        p.toolkit.log(engine::FaultLog::Severity::Warning, "a run-time error");
        qInstallMessageHandler(previous);
        QCOMPARE(seen, QStringList({"2 alarmclock.faults a fault",
                                    "1 alarmclock.faults a run-time error"}));
    }

    // A request never waits for the sink; what waits behind a beep is bounded; hushed, it
    // is dropped, and the queue takes requests again; beeps in a row play a gap apart.
    void requestsAndWaitingBeeps() {
        auto probe = std::make_shared<Probe>();
        probe->open = false;
        toolkit::qt::beep::BeepQueue queue(Probe::sink(probe), {.maxPending = 4, .gap = 300ms});
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

    // Shutting down interrupts a hung sink, leaves it behind (else the test hangs) and plays
    // nothing more; a worker that ends in time is joined, so its sink is gone, on this thread, with
    // the queue (a worker left behind may release it last: many rounds tell them apart). A sink
    // that throws costs its beep only.
    void shutdownAndFaults_data() {
        QTest::addColumn<bool>("hung");
        QTest::addColumn<bool>("throws");
        QTest::newRow("hung") << true << false;
        QTest::newRow("ends") << false << false;
        QTest::newRow("throws") << false << true;
    }
    void shutdownAndFaults() {
        QFETCH(bool, hung);
        QFETCH(bool, throws);
        for (int round = 0; round < (hung ? 1 : 200); ++round) {
            auto probe = std::make_shared<Probe>();
            probe->open = !hung;
            probe->throws = throws;
            {
                toolkit::qt::beep::BeepQueue queue(Probe::sink(probe),
                                                   {.gap = 0ms, .shutdownWait = 100ms});
                queue.request();
                queue.request();
                while (probe->starts < (hung ? 1 : 2) || probe->ends < (hung ? 0 : 2))
                    std::this_thread::yield();
            }
            QCOMPARE(probe->interrupts.load(), 1);
            probe->open = true; // a worker left behind ends its beep and releases the sink
            QTRY_VERIFY(probe->destroyed);
            QCOMPARE(probe->destroyedHere.load(), !hung);
        }
    }

    // A server that accepts and never answers is given up at its deadline, and then left
    // alone for a while: the next beep does not even connect to it. (One that is missing is
    // tried again at the next beep: the end-to-end test restarts it.)
    void aHungServerIsGivenUp() {
        QTemporaryDir dir;
        sockaddr_un address{AF_UNIX, {}};
        qstrncpy(address.sun_path, qPrintable(dir.filePath("native")), sizeof address.sun_path);
        const int server = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        QVERIFY(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                listen(server, 8) == 0);
        qputenv("PULSE_SERVER", QByteArray("unix:") + address.sun_path);
        toolkit::qt::beep::SoundServerSink pulse(toolkit::qt::beep::SynthesizeTone(), 48000);
        for (const int connects : {1, 0}) {
            QVERIFY(!pulse.play());
            int connections = 0;
            for (int c; (c = accept(server, nullptr, nullptr)) >= 0; ++connections)
                close(c);
            QCOMPARE(connections, connects);
        }
        close(server);
    }
};

QTEST_MAIN(TestQt)
#include "tst_qt.moc"
