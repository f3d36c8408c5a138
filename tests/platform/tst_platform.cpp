// The platform's beep: the beep worker against sinks that the test controls, and the sound
// server's sink against a server that hangs. (The system clock shows in the end-to-end tests,
// under a faked clock and a time zone that changes.)

#include "platform/beep_queue.h"
#include "platform/linux/sound_server_sink.h"
#include "platform/linux/tone.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <tuple>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

using Clock = std::chrono::steady_clock;

// Waits, up to five seconds, until the condition holds.
template <class Condition> bool eventually(Condition condition) {
    for (const auto end = Clock::now() + 5s; !condition() && Clock::now() < end;)
        std::this_thread::sleep_for(1ms);
    return condition();
}

// What a test sink saw, and what it does: it plays once `open`, and sounds or throws; a stuck
// device holds its interrupt too until `open`, or five seconds at most. The test shares it with
// the sink, as a thread left behind by shutdown may outlive its queue.
struct Probe {
    std::atomic<bool> open = true, stuck = false, throws = false, destroyed = false;
    std::atomic<int> starts = 0, ends = 0, interrupts = 0;
    std::atomic<Clock::rep> lastEnd = 0, shortestGap = INT64_MAX; // steady clock
};

// The sink under test: it plays, stalls and throws as its probe says, and notes it there.
struct ProbeSink final : platform::Sink {
    std::shared_ptr<Probe> p;

    explicit ProbeSink(std::shared_ptr<Probe> probe)
        : p(std::move(probe)) {}
    ~ProbeSink() override { p->destroyed = true; }
    bool play() override {
        const auto now = [] { return Clock::now().time_since_epoch().count(); };
        if (p->lastEnd)
            p->shortestGap = std::min(p->shortestGap.load(), now() - p->lastEnd);
        ++p->starts;
        while (!p->open)
            std::this_thread::sleep_for(1ms);
        ++p->ends;
        p->lastEnd = now();
        return p->throws ? throw std::runtime_error("no sound") : true;
    }
    void interrupt() override {
        ++p->interrupts;
        if (p->stuck)
            eventually([this] { return p->open.load(); });
    }
};

} // namespace

// A request never waits for the sink; what waits behind a beep is bounded; hushed, it is
// dropped, and the queue takes requests again; beeps in a row play a gap apart.
TEST(BeepQueue, RequestsAndWaitingBeeps) {
    const std::shared_ptr<Probe> probe(new Probe{.open = false});
    platform::BeepQueue queue(std::make_unique<ProbeSink>(probe), {.maxPending = 4, .gap = 300ms});
    EXPECT_TRUE(queue.request());
    EXPECT_TRUE(eventually([&] { return probe->starts == 1; }));
    int accepted = 0;
    for (int i = 0; i < 20; ++i)
        accepted += queue.request();
    EXPECT_EQ(accepted, 4);
    queue.hush();
    queue.request();
    queue.request();
    probe->open = true;
    EXPECT_TRUE(eventually([&] { return probe->ends == 3; }));
    EXPECT_GE(Clock::duration(probe->shortestGap), 300ms);
    std::this_thread::sleep_for(400ms);
    EXPECT_EQ(probe->starts, 3);
}

// Shutting down interrupts a hung sink, leaves it behind (else the test hangs) and plays
// nothing more, in a moment even where the device holds the interrupt too; a worker that ends
// in time is joined, and its sink goes with the queue. A sink that throws costs its beep only.
TEST(BeepQueue, ShutdownAndFaults) {
    using Row = std::tuple<const char*, bool, bool, bool>; // the sink hung, stuck, throws
    for (const auto& [name, hung, stuck, throws] :
         {Row{"hung", true, false, false}, Row{"stuck device", true, true, false},
          Row{"ends", false, false, false}, Row{"throws", false, false, true}}) {
        SCOPED_TRACE(name);
        const std::shared_ptr<Probe> probe(
            new Probe{.open = !hung, .stuck = stuck, .throws = throws});
        const auto start = Clock::now();
        {
            platform::BeepQueue queue(std::make_unique<ProbeSink>(probe),
                                      {.gap = 0ms, .shutdownWait = 100ms});
            queue.request();
            queue.request();
            while (probe->starts < (hung ? 1 : 2) || probe->ends < (hung ? 0 : 2))
                std::this_thread::yield();
        }
        ASSERT_LT(Clock::now() - start, 2s);
        ASSERT_EQ(probe->destroyed, !hung); // a worker joined has let the sink go
        probe->open = true;                 // a thread left behind ends and releases the sink
        ASSERT_TRUE(eventually([&] { return probe->destroyed.load(); }));
        ASSERT_EQ(probe->interrupts, 1);
    }
}

// A server that accepts and never answers is given up at its deadline, and then left alone
// for a while: the next beep does not even connect to it. (One that is missing is tried
// again at the next beep: the end-to-end test restarts it.)
TEST(SoundServerSink, AHungServerIsGivenUp) {
    const std::string path =
        std::filesystem::temp_directory_path() / ("alarmclock-hung-" + std::to_string(getpid()));
    sockaddr_un address{AF_UNIX, {}};
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    const int server = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    ASSERT_TRUE(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                listen(server, 8) == 0);
    setenv("PULSE_SERVER", ("unix:" + path).c_str(), 1);
    platform::SoundServerSink pulse(platform::synthesizeTone(), 48000);
    for (const int connects : {1, 0}) {
        EXPECT_FALSE(pulse.play());
        int connections = 0;
        for (int c; (c = accept(server, nullptr, nullptr)) >= 0; ++connections)
            close(c);
        EXPECT_EQ(connections, connects);
    }
    close(server);
    unlink(path.c_str());
}
