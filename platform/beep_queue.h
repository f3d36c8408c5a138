#pragma once

#include "engine/ports.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <thread>

namespace platform {

// Makes one beep. Called on the queue's worker thread only, one call at a time.
class Sink {
public:
    virtual ~Sink() = default;
    // Returns when the sound is over or has been given up; true if something sounded.
    virtual bool play() = 0;
    // Called from another thread when the queue shuts down: the play() in progress, and
    // any that still starts after this, should give up at once. It may block, on a device
    // that no longer answers: shutting down does not wait for it beyond its bound.
    virtual void interrupt() {}
};

struct QueueOptions {
    // Requests waiting behind the one that plays. The most the engine asks for in one
    // tick is three (bell 1, bell 2 and the interval beep); anything beyond a few more
    // is a burst that would only ring on long after its cause.
    std::size_t maxPending = 4;
    // Silence between two beeps that follow each other, so that each is heard as its own.
    std::chrono::milliseconds gap{40};
    // How long shutting down waits for a sink that is still busy, its interrupt included,
    // before leaving it behind.
    std::chrono::milliseconds shutdownWait{150};
};

// Hands beep requests to a worker thread that plays them one after the other through
// its sink. request() never waits for the sink, and nothing the sink does, throwing
// included, reaches the caller.
class BeepQueue {
public:
    explicit BeepQueue(std::unique_ptr<Sink> sink, QueueOptions options = {});
    // Stops the worker, interrupts the sink and joins both; a sink whose play() or
    // interrupt() has not returned within shutdownWait is left to finish on its own, with
    // the thread still in it detached.
    ~BeepQueue();
    BeepQueue(const BeepQueue&) = delete;
    BeepQueue& operator=(const BeepQueue&) = delete;

    // Queues one beep; false if the queue was full and the request was dropped.
    bool request();
    // Drops the requests that have not started to play.
    void hush();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    std::thread worker_;
};

// The system beep for the engine: beep() only hands the request to the queue's worker,
// which plays it through the platform's sink, so the user-interface thread never waits
// for the sound, also not while it counts out the chime.
class QueuedBeeper final : public engine::Beeper {
public:
    explicit QueuedBeeper(std::unique_ptr<Sink> sink, QueueOptions options = {})
        : queue_(std::move(sink), options) {}

    void beep() override { queue_.request(); }
    void hush() override { queue_.hush(); }

private:
    BeepQueue queue_;
};

} // namespace platform
