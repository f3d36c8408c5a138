#include "platform/linux/system_sink.h"

#include "platform/linux/sound_server_sink.h"
#include "platform/linux/tone.h"

#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace platform {

namespace {

constexpr ToneShape beepTone{};

// Holds the worker for about as long as the tone, so that beeps in a row stay apart
// even on sinks that only start a sound and return.
void waitOutTone() { std::this_thread::sleep_for(std::chrono::duration<double>(beepTone.seconds)); }

// Rings the bell of the X display on a connection of its own: the toolkit's connection
// belongs to the user-interface thread, which may be busy counting out the chime.
class XBellSink final : public Sink {
public:
    ~XBellSink() override {
        if (connection_)
            xcb_disconnect(connection_);
    }

    bool play() override {
        if (!connection_) {
            connection_ = xcb_connect(nullptr, nullptr);
            if (xcb_connection_has_error(connection_))
                return false; // kept, broken, so that the display is not tried again
        } else if (xcb_connection_has_error(connection_)) {
            return false;
        }
        xcb_bell(connection_, 0);
        if (xcb_flush(connection_) <= 0)
            return false;
        waitOutTone();
        return true;
    }

private:
    xcb_connection_t* connection_ = nullptr;
};

} // namespace

FirstThatSounds::FirstThatSounds(std::vector<std::unique_ptr<Sink>> sinks)
    : sinks_(std::move(sinks)) {}

bool FirstThatSounds::play() {
    for (const auto& sink : sinks_)
        if (!interrupted_ && sink->play())
            return true;
    return false;
}

void FirstThatSounds::interrupt() {
    interrupted_ = true;
    for (const auto& sink : sinks_)
        sink->interrupt();
}

std::unique_ptr<Sink> makeSystemSink() {
    std::vector<std::unique_ptr<Sink>> sinks;
    sinks.push_back(
        std::make_unique<SoundServerSink>(synthesizeTone(beepTone), beepTone.sampleRate));
    if (const char* display = std::getenv("DISPLAY"); display && *display)
        sinks.push_back(std::make_unique<XBellSink>());
    return std::make_unique<FirstThatSounds>(std::move(sinks));
}

} // namespace platform
