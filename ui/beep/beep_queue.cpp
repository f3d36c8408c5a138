#include "ui/beep/beep_queue.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace ui::beep {

// Everything the worker touches lives here, so that a worker left behind by shutdown
// still owns what it uses after the queue itself is gone.
struct BeepQueue::Shared {
    Shared(std::unique_ptr<Sink> s, QueueOptions o)
        : sink(std::move(s))
        , options(o) {}

    const std::unique_ptr<Sink> sink;
    const QueueOptions options;
    mutable std::mutex mutex;
    std::condition_variable wake;     // a request came, or stop
    std::condition_variable finished; // the worker has left its loop
    std::size_t pending = 0;
    bool stopping = false;
    bool done = false;

    void run() {
        using Clock = std::chrono::steady_clock;
        Clock::time_point quietUntil = Clock::now();
        std::unique_lock lock(mutex);
        for (;;) {
            wake.wait(lock, [this] { return stopping || pending > 0; });
            if (stopping)
                break;
            // The gap after the previous beep; stop cuts it short.
            if (wake.wait_until(lock, quietUntil, [this] { return stopping; }))
                break;
            --pending;
            lock.unlock();
            sink->play();
            quietUntil = Clock::now() + options.gap;
            lock.lock();
        }
        done = true;
        finished.notify_all();
    }
};

BeepQueue::BeepQueue(std::unique_ptr<Sink> sink, QueueOptions options)
    : shared_(std::make_shared<Shared>(std::move(sink), options)) {
    std::thread([shared = shared_] { shared->run(); }).detach();
}

BeepQueue::~BeepQueue() {
    std::unique_lock lock(shared_->mutex);
    shared_->stopping = true;
    shared_->wake.notify_all();
    lock.unlock();
    shared_->sink->interrupt();
    lock.lock();
    shared_->finished.wait_for(lock, shared_->options.shutdownWait,
                               [this] { return shared_->done; });
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

std::size_t BeepQueue::pending() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->pending;
}

} // namespace ui::beep
