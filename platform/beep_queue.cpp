#include "platform/beep_queue.h"

#include <condition_variable>
#include <mutex>

namespace platform {

// Everything the threads touch lives here, so that a thread left behind by shutdown
// still owns what it uses after the queue itself is gone.
struct BeepQueue::Shared {
    Shared(std::unique_ptr<Sink> s, QueueOptions o)
        : sink(std::move(s))
        , options(o) {}

    const std::unique_ptr<Sink> sink;
    const QueueOptions options;
    std::mutex mutex;
    std::condition_variable wake;     // a request came, or hush, or stop
    std::condition_variable finished; // the worker has left its loop, or the interrupt returned
    std::size_t pending = 0;
    bool stopping = false;
    bool done = false;
    bool interruptReturned = false;

    void interrupt() noexcept {
        try {
            sink->interrupt();
        } catch (...) {
            // The worker is waited for all the same.
        }
        const std::lock_guard lock(mutex);
        interruptReturned = true;
        finished.notify_all();
    }

    void run() noexcept {
        using Clock = std::chrono::steady_clock;
        Clock::time_point quietUntil = Clock::now();
        std::unique_lock lock(mutex);
        while (!stopping) {
            wake.wait(lock, [this] { return stopping || pending > 0; });
            // The gap after the previous beep; stop or hush cut it short.
            if (stopping ||
                wake.wait_until(lock, quietUntil, [this] { return stopping || pending == 0; }))
                continue;
            --pending;
            lock.unlock();
            try {
                sink->play();
            } catch (...) {
                // A sink that fails costs this beep, never the program.
            }
            quietUntil = Clock::now() + options.gap;
            lock.lock();
        }
        done = true;
        finished.notify_all();
    }
};

BeepQueue::BeepQueue(std::unique_ptr<Sink> sink, QueueOptions options)
    : shared_(std::make_shared<Shared>(std::move(sink), options))
    , worker_([shared = shared_] { shared->run(); }) {}

BeepQueue::~BeepQueue() {
    const auto deadline = std::chrono::steady_clock::now() + shared_->options.shutdownWait;
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
    }
    shared_->wake.notify_all();
    // A device that has stopped answering may hold the interrupt as long as the sound: it
    // runs on a thread of its own, which is waited for within the same bound as the worker.
    std::thread interrupter;
    try {
        interrupter = std::thread([shared = shared_] { shared->interrupt(); });
    } catch (...) {
        const std::lock_guard lock(shared_->mutex);
        shared_->interruptReturned =
            true; // no thread to spare: the worker is waited for uninterrupted
    }
    std::unique_lock lock(shared_->mutex);
    shared_->finished.wait_until(lock, deadline,
                                 [this] { return shared_->done && shared_->interruptReturned; });
    const bool workerEnded = shared_->done;
    const bool interruptEnded = shared_->interruptReturned;
    lock.unlock();
    // Joined, a thread no longer shares the sink, which then goes with the queue.
    workerEnded ? worker_.join() : worker_.detach();
    if (interrupter.joinable())
        interruptEnded ? interrupter.join() : interrupter.detach();
}

bool BeepQueue::request() {
    {
        std::lock_guard lock(shared_->mutex);
        if (shared_->pending >= shared_->options.maxPending)
            return false;
        ++shared_->pending;
    }
    // Outside the lock, so that the woken worker does not block on it straight away.
    shared_->wake.notify_one();
    return true;
}

void BeepQueue::hush() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->pending = 0;
    }
    shared_->wake.notify_one();
}

} // namespace platform
