#pragma once

#include "engine/fault_log.h"

#include <deque>
#include <functional>
#include <string>
#include <string_view>

namespace ui {

class Toolkit;

// Runs the handlers that the toolkit's events call for, one at a time, as the user-interface
// thread takes them: a handler asked for while another runs (a command that a screen reader
// gives while the chime holds the thread) waits until that one has returned, and then runs in
// its turn. A fault ends the handler at the failing step and goes to the fault log; the
// program goes on. Once the program has ended, no handler runs.
class Handlers {
public:
    // Faults are written to the toolkit's log; the end leaves the toolkit's loop.
    explicit Handlers(Toolkit& toolkit);
    Handlers(const Handlers&) = delete;
    Handlers& operator=(const Handlers&) = delete;

    // Timer events that fall due while they wait are merged into one; every command counts.
    enum class Repeats { Each, Merged };
    // A handler of `owner`'s (a window), named as the fault log names it.
    void run(std::string_view name, const void* owner, std::function<void()> handler,
             Repeats repeats = Repeats::Each) noexcept;
    // The owner goes: its handlers that wait go with it.
    void forget(const void* owner) noexcept;

    // Ends the program at once: no further handler runs, none that waits either.
    void end();
    bool ended() const { return ended_; }

    engine::FaultLog& faults() { return faults_; }

private:
    struct Waiting {
        std::string name;
        const void* owner;
        std::function<void()> handler;
        Repeats repeats;
    };
    void call(std::string_view name, const std::function<void()>& handler) noexcept;

    Toolkit& toolkit_;
    engine::FaultLog faults_;
    std::deque<Waiting> waiting_;
    bool running_ = false;
    bool ended_ = false;
};

} // namespace ui
