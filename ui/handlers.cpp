#include "ui/handlers.h"

#include "ui/toolkit.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace ui {

Handlers::Handlers(Toolkit& toolkit)
    : toolkit_(toolkit)
    , faults_([&toolkit](engine::FaultLog::Severity severity, const std::string& line) {
        toolkit.log(severity, line);
    }) {}

void Handlers::call(std::string_view name, const std::function<void()>& handler) noexcept {
    engine::runHandler(faults_, name, std::chrono::steady_clock::now(), handler);
}

void Handlers::run(std::string_view name, const void* owner, std::function<void()> handler,
                   Repeats repeats) noexcept {
    if (ended_)
        return;
    if (running_) {
        const auto same = [&](const Waiting& w) { return w.name == name && w.owner == owner; };
        if (repeats == Repeats::Merged && std::ranges::any_of(waiting_, same))
            return;
        try {
            waiting_.push_back({std::string(name), owner, std::move(handler), repeats});
        } catch (...) {
            // No room to wait: the event is lost, as one that the system drops.
        }
        return;
    }
    running_ = true;
    call(name, handler);
    while (!waiting_.empty() && !ended_) {
        const Waiting next = std::move(waiting_.front());
        waiting_.pop_front();
        call(next.name, next.handler);
    }
    waiting_.clear();
    running_ = false;
}

void Handlers::forget(const void* owner) noexcept {
    try {
        std::erase_if(waiting_, [owner](const Waiting& w) { return w.owner == owner; });
    } catch (...) {
        waiting_.clear(); // better none of them than one of a window that has gone
    }
}

void Handlers::end() {
    if (std::exchange(ended_, true))
        return;
    toolkit_.quit();
}

} // namespace ui
