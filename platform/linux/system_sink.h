#pragma once

#include "platform/beep_queue.h"

#include <atomic>
#include <memory>
#include <vector>

namespace platform {

// Tries its sinks in order until one of them sounds; once interrupted, tries none.
class FirstThatSounds final : public Sink {
public:
    explicit FirstThatSounds(std::vector<std::unique_ptr<Sink>> sinks);
    bool play() override;
    void interrupt() override;

private:
    std::vector<std::unique_ptr<Sink>> sinks_;
    std::atomic<bool> interrupted_{false};
};

// The desktop's beep: a synthesized tone through the sound server, and where no server
// answers the bell of the X display named by DISPLAY (X11, or Xwayland on a Wayland
// desktop); where neither is there, the beep is silent.
std::unique_ptr<Sink> makeSystemSink();

} // namespace platform
