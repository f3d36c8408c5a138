#pragma once

#include "platform/beep_queue.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

// Plays the tone through the desktop's sound server over its native protocol (PipeWire
// desktops serve it too). Every wait on the server has a deadline, so a server that hangs
// costs one late, failed beep and never a stuck worker. After a deadline has passed the
// server is left alone for a while, longer each time in a row, and play() fails at once.
// Where no server listens, the connection is refused at once and the next beep tries
// again, so that the beeps are back as soon as a server is.
class SoundServerSink final : public Sink {
public:
    SoundServerSink(std::vector<std::int16_t> tone, int sampleRate);
    ~SoundServerSink() override;

    bool play() override;
    void interrupt() override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
