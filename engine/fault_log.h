#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace engine {

// Reports the faults that end a handler or a tick, for whoever reads the program's log
// or a bug report. A fault is written the first time it happens; the same fault again
// (the same handler and step, the same kind of exception) is only counted, and its count
// written at most once a minute, so a step that fails on every tick costs a line a
// minute. It reads no clock and writes nowhere itself: each call brings the time, and
// every line goes to the writer it was made with.
class FaultLog {
public:
    using Time = std::chrono::steady_clock::time_point;
    // A RunTimeError is a warning: a fault that the engine's rules foresee (an overflow, a
    // division by zero, an invalid operation) and that ends the handler. Any other exception
    // is a programming error or an exhausted resource, and critical.
    enum class Severity { Warning, Critical };
    using Writer = std::function<void(Severity, const std::string&)>;

    explicit FaultLog(Writer writer)
        : writer_(std::move(writer)) {}

    // Called inside a catch block: the exception in flight ended `handler` at `step`
    // (empty for a handler without steps). A fault that cannot even be written is dropped.
    void caught(std::string_view handler, std::string_view step, Time now) noexcept;

    // Writes the counts that have waited a minute, also of faults that have stopped.
    void flush(Time now) noexcept;

private:
    struct Fault {
        Severity severity;
        std::string where;
        std::string kind;
        Time written;
        long long unwritten = 0;
    };
    void writeCount(Fault& fault, Time now);

    Writer writer_;
    std::map<std::string, Fault> faults_; // by where and kind
};

// Runs a handler: an exception ends it there and goes to `faults` under the handler's name.
template <class Handler>
void runHandler(FaultLog& faults, std::string_view name, FaultLog::Time now,
                Handler&& handler) noexcept {
    try {
        handler();
    } catch (...) {
        faults.caught(name, {}, now);
    }
}

} // namespace engine
