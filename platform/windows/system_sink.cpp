#include "platform/windows/system_sink.h"

#include <windows.h>

#include <mmsystem.h>

#include <atomic>

// Windows Vista's flag for the system notification sounds' volume slider, which the
// MinGW-w64 headers lack.
#ifndef SND_SYSTEM
#define SND_SYSTEM 0x00200000L
#endif

namespace platform {
namespace {

// MessageBeep plays the same sound, but returns at once, and a second call cuts off the
// sound that is playing: two beeps due together would sound as one. Played synchronously
// on the queue's worker, each beep is heard to its end before the next starts.
class DefaultBeepSink final : public Sink {
public:
    bool play() override {
        // No fallback: a scheme without a Default Beep ("no sounds") means silence.
        return !interrupted_ &&
               PlaySoundW(L"SystemDefault", nullptr,
                          SND_ALIAS | SND_SYNC | SND_NODEFAULT | SND_SYSTEM) != FALSE;
    }
    // Stops the sound that plays, so that shutting down does not wait for it. A device that
    // hangs may hold this call too: the queue waits for it no longer than for the sound.
    void interrupt() override {
        interrupted_ = true;
        PlaySoundW(nullptr, nullptr, 0);
    }

private:
    std::atomic<bool> interrupted_{false};
};

} // namespace

std::unique_ptr<Sink> makeSystemSink() { return std::make_unique<DefaultBeepSink>(); }

} // namespace platform
