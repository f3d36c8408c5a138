#include "platform/beep_queue.h"

#include <condition_variable>
#include <mutex>

namespace platform {

// Everything the worker touches lives here, so that a worker left behind by shutdown
// still owns what it uses after the queue itself is gone.
struct BeepQueue::Shared {
    Shared(std::unique_ptr<Sink> s, QueueOptions o)
        : sink(std::move(s))
        , options(o) {}

    const std::unique_ptr<Sink> sink;
    const QueueOptions options;
    std::mutex mutex;
    std::condition_variable wake;     // a request came, or hush, or stop
    std::condition_variable finished; // the worker has left its loop
    std::size_t pending = 0;
    bool stopping = false;
    bool done = false;

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
    std::unique_lock lock(shared_->mutex);
    shared_->stopping = true;
    shared_->wake.notify_all();
    lock.unlock();
    shared_->sink->interrupt();
    lock.lock();
    const bool ended = shared_->finished.wait_for(lock, shared_->options.shutdownWait,
                                                  [this] { return shared_->done; });
    lock.unlock();
    ended ? worker_.join() : worker_.detach();
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
