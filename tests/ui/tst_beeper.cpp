// The beep worker against sinks that the test controls, and the sound-server sink against
// servers that are missing or never answer.

#include "ui/beep/beep_queue.h"
#include "ui/beep/pulse_sink.h"
#include "ui/beep/system_sink.h"
#include "ui/beep/tone.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// What a test sink saw, and what it does: it plays once `open`, and sounds or throws. The
// test shares it with the sink, as a worker left behind by shutdown may outlive its queue.
struct Probe {
    std::atomic<int> starts = 0, ends = 0, interrupts = 0;
    std::atomic<bool> open = true, sounds = true, throws = false, destroyedHere = false;
    std::thread::id here = std::this_thread::get_id();

    static std::unique_ptr<ui::beep::Sink> sink(std::shared_ptr<Probe> probe) {
        struct Sink final : ui::beep::Sink {
            std::shared_ptr<Probe> p;
            ~Sink() override { p->destroyedHere = std::this_thread::get_id() == p->here; }
            bool play() override {
                ++p->starts;
                while (!p->open)
                    std::this_thread::sleep_for(1ms);
                ++p->ends;
                return p->throws ? throw std::runtime_error("no sound") : bool(p->sounds);
            }
            void interrupt() override { ++p->interrupts; }
        };
        auto sink = std::make_unique<Sink>();
        sink->p = std::move(probe);
        return sink;
    }
};

} // namespace

class TestBeeper : public QObject {
    Q_OBJECT
private slots:
    // A request never waits for the sink; what waits behind a beep is bounded; hushed, it
    // is dropped, and the queue takes requests again.
    void requestsNeverWaitAndWhatWaitsIsBoundedAndHushed() {
        auto probe = std::make_shared<Probe>();
        probe->open = false;
        ui::beep::BeepQueue queue(Probe::sink(probe), {.maxPending = 4, .gap = 0ms});
        QVERIFY(queue.request());
        QTRY_COMPARE(probe->starts.load(), 1);
        int accepted = 0;
        for (int i = 0; i < 20; ++i)
            accepted += queue.request();
        QCOMPARE(accepted, 4);
        queue.hush();
        probe->open = true;
        QTest::qWait(300);
        QCOMPARE(probe->starts.load(), 1);
        QVERIFY(queue.request());
        QTRY_COMPARE(probe->ends.load(), 2);
    }

    // Beeps asked for together play in turn, a gap apart, so that each is heard.
    void beepsOfOneMomentPlayAGapApart() {
        auto probe = std::make_shared<Probe>();
        ui::beep::BeepQueue queue(Probe::sink(probe), {.maxPending = 4, .gap = 300ms});
        for (int i = 0; i < 3; ++i)
            queue.request();
        QTest::qWait(450);
        QCOMPARE(probe->ends.load(), 2);
        QTRY_COMPARE(probe->ends.load(), 3);
    }

    // Shutting down interrupts a hung sink, leaves it behind and plays nothing more; a
    // worker that ends in time is joined, so its sink is gone, on this thread, with the
    // queue. A sink that throws costs its beep only.
    void shutdownAndFaults_data() {
        QTest::addColumn<bool>("hangs");
        QTest::addColumn<bool>("throws");
        QTest::newRow("a sink that hangs") << true << false;
        QTest::newRow("a sink that ends in time") << false << false;
        QTest::newRow("a sink that throws") << false << true;
    }
    void shutdownAndFaults() {
        QFETCH(bool, hangs);
        QFETCH(bool, throws);
        // A worker left behind may release the sink last, a joined one never: many rounds
        // tell the two apart.
        for (int round = 0; round < (hangs ? 1 : 200); ++round) {
            auto probe = std::make_shared<Probe>();
            probe->open = !hangs;
            probe->throws = throws;
            QElapsedTimer shutdown;
            {
                ui::beep::BeepQueue queue(Probe::sink(probe), {.gap = 0ms, .shutdownWait = 100ms});
                queue.request();
                queue.request();
                while (probe->starts < (hangs ? 1 : 2) || probe->ends < (hangs ? 0 : 2))
                    std::this_thread::yield();
                shutdown.start();
            }
            QVERIFY(shutdown.elapsed() < 1000);
            QCOMPARE(probe->interrupts.load(), 1);
            QCOMPARE(probe->destroyedHere.load(), !hangs);
            if (hangs) { // what was left behind ends on its own, and plays nothing more
                probe->open = true;
                QTRY_COMPARE(probe->ends.load(), 1);
                QTest::qWait(100);
                QCOMPARE(probe->starts.load(), 1);
            }
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
    void aServerThatIsMissingOrHungIsGivenUp_data() {
        QTest::addColumn<bool>("listening");
        QTest::newRow("missing") << false;
        QTest::newRow("never answers") << true;
    }
    void aServerThatIsMissingOrHungIsGivenUp() {
        QFETCH(bool, listening);
        QTemporaryDir dir;
        sockaddr_un address{AF_UNIX, {}};
        qstrncpy(address.sun_path, qPrintable(dir.filePath("native")), sizeof address.sun_path);
        const int server = socket(AF_UNIX, SOCK_STREAM, 0);
        const auto serve = [&] {
            return bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                   listen(server, 8) == 0;
        };
        QVERIFY(!listening || serve());
        qputenv("PULSE_SERVER", QByteArray("unix:") + address.sun_path);
        ui::beep::SoundServerSink pulse(ui::beep::SynthesizeTone(), 48000);
        QElapsedTimer played;
        played.start();
        QVERIFY(!pulse.play() && played.elapsed() < (listening ? 3000 : 200));
        QVERIFY(listening || serve());
        played.start();
        QVERIFY(!pulse.play() && (listening ? played.elapsed() < 50 : played.elapsed() >= 300));
        close(server);
    }
};

QTEST_GUILESS_MAIN(TestBeeper)
#include "tst_beeper.moc"
