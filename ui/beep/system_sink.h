#pragma once

#include "ui/beep/beep_queue.h"

#include <memory>
#include <vector>

namespace ui::beep {

// Tries its sinks in order until one of them sounds.
class FirstThatSounds final : public Sink {
public:
    explicit FirstThatSounds(std::vector<std::unique_ptr<Sink>> sinks);
    bool play() override;
    void interrupt() override;

private:
    std::vector<std::unique_ptr<Sink>> sinks_;
};

// The platform's beep. On Windows the system's message beep; elsewhere a synthesized
// tone through the sound server, and where no server answers the X bell, if the program
// runs on an X display (withXBell); where neither is there, the beep is silent.
std::unique_ptr<Sink> MakeSystemSink(bool withXBell);

} // namespace ui::beep
