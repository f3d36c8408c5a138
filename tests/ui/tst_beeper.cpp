// The beep: its request queue and worker against a controllable sink, the tone, and the
// sound-server sink against servers that are missing or never answer.

#include "ui/beep/beep_queue.h"
#include "ui/beep/system_sink.h"
#include "ui/beep/tone.h"
#include "ui/system_services.h"
#ifndef _WIN32
#include "ui/beep/pulse_sink.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// What a sink saw; shared with the test, since a worker that was left behind may outlive
// the queue and its sink.
struct Log {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Clock::time_point> starts, ends;
    bool gateOpen = true;
    int interrupts = 0;

    void open() {
        std::lock_guard lock(mutex);
        gateOpen = true;
        changed.notify_all();
    }
    bool waitForStarts(std::size_t n, std::chrono::milliseconds timeout = 5s) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, timeout, [&] { return starts.size() >= n; });
    }
    bool waitForEnds(std::size_t n, std::chrono::milliseconds timeout = 5s) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, timeout, [&] { return ends.size() >= n; });
    }
    std::size_t played() {
        std::lock_guard lock(mutex);
        return ends.size();
    }
};

// Plays for `length`, or blocks until the test opens its gate.
class FakeSink final : public ui::beep::Sink {
public:
    FakeSink(std::shared_ptr<Log> log, std::chrono::milliseconds length, bool sounds = true)
        : log_(std::move(log))
        , length_(length)
        , sounds_(sounds) {}
    bool play() override {
        std::unique_lock lock(log_->mutex);
        log_->starts.push_back(Clock::now());
        log_->changed.notify_all();
        log_->changed.wait(lock, [this] { return log_->gateOpen; });
        lock.unlock();
        std::this_thread::sleep_for(length_);
        lock.lock();
        log_->ends.push_back(Clock::now());
        log_->changed.notify_all();
        return sounds_;
    }
    void interrupt() override {
        std::lock_guard lock(log_->mutex);
        ++log_->interrupts;
    }

private:
    std::shared_ptr<Log> log_;
    std::chrono::milliseconds length_;
    bool sounds_;
};

std::unique_ptr<ui::beep::Sink> fakeSink(const std::shared_ptr<Log>& log,
                                         std::chrono::milliseconds length = 0ms,
                                         bool sounds = true) {
    return std::make_unique<FakeSink>(log, length, sounds);
}

#ifndef _WIN32
// A socket that accepts connections into its backlog and never answers: a frozen server.
class SilentServer {
public:
    explicit SilentServer(const QString& path) {
        fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray bytes = path.toLocal8Bit();
        std::memcpy(address.sun_path, bytes.constData(), std::size_t(bytes.size()));
        ok_ = bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
              listen(fd_, 8) == 0;
    }
    ~SilentServer() { close(fd_); }
    bool ok() const { return ok_; }

private:
    int fd_ = -1;
    bool ok_ = false;
};
#endif

} // namespace

class TestBeeper : public QObject {
    Q_OBJECT

private slots:
    void requestsNeverWaitForABlockedSink() {
        auto log = std::make_shared<Log>();
        log->gateOpen = false;
        ui::beep::BeepQueue queue(fakeSink(log), {.maxPending = 4, .gap = 0ms});
        QVERIFY(queue.request());
        QVERIFY(log->waitForStarts(1));
        // The sink now hangs until the gate opens: had a request waited for it, the test
        // would not get past these lines.
        for (int i = 0; i < 3; ++i)
            QVERIFY(queue.request());
        QCOMPARE(queue.pending(), std::size_t(3));
        log->open();
        QVERIFY(log->waitForEnds(4));
        QCOMPARE(queue.pending(), std::size_t(0));
    }

    void requestsOfOneMomentPlayApartInOrder() {
        auto log = std::make_shared<Log>();
        const auto gap = 60ms;
        ui::beep::BeepQueue queue(fakeSink(log, 30ms), {.maxPending = 4, .gap = gap});
        for (int i = 0; i < 3; ++i)
            QVERIFY(queue.request());
        QVERIFY(log->waitForEnds(3));
        std::lock_guard lock(log->mutex);
        QCOMPARE(log->starts.size(), std::size_t(3));
        for (std::size_t i = 1; i < 3; ++i)
            QVERIFY2(log->starts[i] - log->ends[i - 1] >= gap, "beeps not a gap apart");
    }

    void aBeepAfterAQuietSpellPlaysAtOnce() {
        // The gap separates beeps that follow each other; it must not delay a lone one.
        auto log = std::make_shared<Log>();
        ui::beep::BeepQueue queue(fakeSink(log), {.maxPending = 4, .gap = 3s});
        const auto asked = Clock::now();
        QVERIFY(queue.request());
        QVERIFY(log->waitForStarts(1));
        std::lock_guard lock(log->mutex);
        QVERIFY2(log->starts[0] - asked < 1500ms, "a lone beep waited for the gap");
    }

    void aBurstIsBounded() {
        auto log = std::make_shared<Log>();
        log->gateOpen = false;
        ui::beep::BeepQueue queue(fakeSink(log), {.maxPending = 4, .gap = 0ms});
        QVERIFY(queue.request());
        QVERIFY(log->waitForStarts(1));
        int accepted = 0;
        for (int i = 0; i < 20; ++i)
            accepted += queue.request() ? 1 : 0;
        QCOMPARE(accepted, 4);
        QCOMPARE(queue.pending(), std::size_t(4));
        log->open();
        QVERIFY(log->waitForEnds(5));
        // Nothing of the dropped requests comes later.
        QVERIFY(!log->waitForStarts(6, 300ms));
        // Once drained, the queue takes requests again.
        QVERIFY(queue.request());
        QVERIFY(log->waitForEnds(6));
    }

    void shutdownLeavesAHungSinkBehind() {
        auto log = std::make_shared<Log>();
        log->gateOpen = false;
        QElapsedTimer timer;
        {
            auto queue = std::make_unique<ui::beep::BeepQueue>(
                fakeSink(log), ui::beep::QueueOptions{.shutdownWait = 100ms});
            queue->request();
            queue->request();
            QVERIFY(log->waitForStarts(1));
            timer.start();
        }
        const qint64 shutdownMs = timer.elapsed();
        QVERIFY2(shutdownMs < 2000,
                 qPrintable(QStringLiteral("shutdown took %1 ms").arg(shutdownMs)));
        {
            std::lock_guard lock(log->mutex);
            QCOMPARE(log->interrupts, 1);
        }
        // The sink left behind finishes on its own and plays nothing of what was pending.
        log->open();
        QVERIFY(log->waitForEnds(1));
        QVERIFY(!log->waitForStarts(2, 200ms));
    }

    void theFirstSinkThatSoundsWins() {
        auto silent = std::make_shared<Log>();
        auto heard = std::make_shared<Log>();
        auto unused = std::make_shared<Log>();
        std::vector<std::unique_ptr<ui::beep::Sink>> sinks;
        sinks.push_back(fakeSink(silent, 0ms, false));
        sinks.push_back(fakeSink(heard, 0ms, true));
        sinks.push_back(fakeSink(unused, 0ms, true));
        ui::beep::FirstThatSounds chain(std::move(sinks));
        QVERIFY(chain.play());
        QCOMPARE(silent->played(), std::size_t(1));
        QCOMPARE(heard->played(), std::size_t(1));
        QCOMPARE(unused->played(), std::size_t(0));
        chain.interrupt();
        QCOMPARE(silent->interrupts + heard->interrupts + unused->interrupts, 3);
    }

    void theSystemBeeperPlaysThroughItsSink() {
        auto log = std::make_shared<Log>();
        {
            ui::SystemBeeper beeper(fakeSink(log, 10ms));
            beeper.beep();
            beeper.beep();
            QVERIFY(log->waitForEnds(2));
        }
        QCOMPARE(log->played(), std::size_t(2));
    }

    void theToneIsAShortFadedBeep() {
        const ui::beep::ToneShape shape;
        const std::vector<std::int16_t> tone = ui::beep::SynthesizeTone(shape);
        QCOMPARE(int(tone.size()), int(shape.seconds * shape.sampleRate));
        // Fades in and out: no click at either end.
        QVERIFY(std::abs(tone.front()) < 100 && std::abs(tone.back()) < 100);
        int peak = 0, crossings = 0;
        for (std::size_t i = 1; i < tone.size(); ++i) {
            peak = std::max(peak, std::abs(int(tone[i])));
            crossings += (tone[i - 1] < 0) != (tone[i] < 0) ? 1 : 0;
        }
        QVERIFY(peak > 32767 * shape.level * 0.95 && peak <= 32767 * shape.level + 1);
        const double heardFrequency = crossings / 2.0 / shape.seconds;
        QVERIFY2(std::abs(heardFrequency - shape.frequency) < 20,
                 qPrintable(QString::number(heardFrequency)));
    }

#ifndef _WIN32
    void noSoundServerFailsAtOnce() {
        QTemporaryDir dir;
        qputenv("PULSE_SERVER", ("unix:" + dir.filePath("none")).toLocal8Bit());
        ui::beep::SoundServerSink sink(ui::beep::SynthesizeTone(), 48000);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!sink.play());
        QVERIFY(!sink.play()); // backed off: not even tried
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
        qunsetenv("PULSE_SERVER");
    }

    void aServerThatNeverAnswersIsGivenUp() {
        QTemporaryDir dir;
        const QString path = dir.filePath("native");
        SilentServer server(path);
        QVERIFY(server.ok());
        qputenv("PULSE_SERVER", ("unix:" + path).toLocal8Bit());
        ui::beep::SoundServerSink sink(ui::beep::SynthesizeTone(), 48000);
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!sink.play());
        const qint64 givenUpMs = timer.elapsed();
        QVERIFY2(givenUpMs < 3000, qPrintable(QString::number(givenUpMs)));
        qunsetenv("PULSE_SERVER");
    }
#endif
};

QTEST_GUILESS_MAIN(TestBeeper)
#include "tst_beeper.moc"
