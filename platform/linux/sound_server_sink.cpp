#include "platform/linux/sound_server_sink.h"

#include <pulse/context.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>

#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <chrono>

namespace platform {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

// A server that has not accepted us by then is taken as hung.
constexpr auto connectTimeout = 400ms;
// Beyond the tone's own length, for the server to report it played.
constexpr auto playSlack = 600ms;
constexpr auto firstBackoff = 2s;
constexpr auto longestBackoff = 32s;

// The sound server's client library, loaded on the first beep instead of at start-up: it
// and the libraries it brings in weigh more than the rest of the clock.
// clang-format off
#define PULSE_FUNCTIONS(F) \
    F(pa_bytes_to_usec) F(pa_context_connect) F(pa_context_disconnect) F(pa_context_get_state) \
    F(pa_context_new) F(pa_context_unref) F(pa_mainloop_dispatch) F(pa_mainloop_free) \
    F(pa_mainloop_get_api) F(pa_mainloop_iterate) F(pa_mainloop_new) F(pa_mainloop_poll) \
    F(pa_mainloop_prepare) F(pa_mainloop_wakeup) F(pa_operation_cancel) \
    F(pa_operation_get_state) F(pa_operation_unref) F(pa_stream_connect_playback) \
    F(pa_stream_disconnect) F(pa_stream_drain) F(pa_stream_get_state) F(pa_stream_new) \
    F(pa_stream_unref) F(pa_stream_write)
// clang-format on

struct Library {
#define DECLARE(name) decltype(&::name) name = nullptr;
    PULSE_FUNCTIONS(DECLARE)
#undef DECLARE

    // Loaded once, or never: a machine without the library has no sound server either.
    static const Library* get() {
        static const Library library;
        return library.pa_stream_write ? &library : nullptr;
    }

private:
    Library() {
        void* handle = dlopen("libpulse.so.0", RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return;
        bool complete = true;
#define RESOLVE(name)                                                                              \
    complete = complete && (name = reinterpret_cast<decltype(name)>(dlsym(handle, #name)));
        PULSE_FUNCTIONS(RESOLVE)
#undef RESOLVE
        if (!complete)
            pa_stream_write = nullptr;
    }
};

} // namespace

struct SoundServerSink::Impl {
    std::vector<std::int16_t> tone;
    int sampleRate;
    const Library* pa = nullptr;              // once the first beep has loaded it
    std::atomic<pa_mainloop*> loop = nullptr; // woken from the thread that interrupts
    pa_context* context = nullptr;
    std::atomic<bool> interrupted{false};
    Clock::time_point retryAfter{};
    Clock::duration backoff = firstBackoff;
    bool timedOut = false; // a deadline passed in this play()

    Impl(std::vector<std::int16_t> t, int rate)
        : tone(std::move(t))
        , sampleRate(rate) {}

    ~Impl() {
        dropContext();
        if (loop)
            pa->pa_mainloop_free(loop);
    }

    bool load() {
        if (!loop && (pa = Library::get()))
            loop = pa->pa_mainloop_new();
        return loop != nullptr;
    }

    // Runs the server's events until done() holds; false on deadline, interruption or
    // a broken loop.
    template <class Done> bool runUntil(Done done, Clock::time_point deadline) {
        while (!done()) {
            const auto left = deadline - Clock::now();
            if (left <= Clock::duration::zero())
                timedOut = true;
            if (interrupted || left <= Clock::duration::zero())
                return false;
            const auto usec = std::chrono::duration_cast<std::chrono::microseconds>(left);
            if (pa->pa_mainloop_prepare(loop, static_cast<int>(usec.count())) < 0 ||
                pa->pa_mainloop_poll(loop) < 0 || pa->pa_mainloop_dispatch(loop) < 0)
                return false;
        }
        return true;
    }

    void dropContext() {
        if (!context)
            return;
        pa->pa_context_disconnect(context);
        pa->pa_context_unref(context);
        context = nullptr;
    }

    bool connect() {
        if (context && pa->pa_context_get_state(context) == PA_CONTEXT_READY)
            return true;
        dropContext();
        context = pa->pa_context_new(pa->pa_mainloop_get_api(loop), "alarmclock");
        // No server of our own: a clock must not start one on a desktop that has none.
        if (!context ||
            pa->pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
        bool settled = runUntil(
            [this] {
                const pa_context_state_t state = pa->pa_context_get_state(context);
                return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
            },
            Clock::now() + connectTimeout);
        return settled && pa->pa_context_get_state(context) == PA_CONTEXT_READY;
    }

    bool playTone() {
        const pa_sample_spec format{PA_SAMPLE_S16NE, static_cast<std::uint32_t>(sampleRate), 1};
        pa_stream* stream = pa->pa_stream_new(context, "beep", &format, nullptr);
        if (!stream)
            return false;
        const auto bytes = static_cast<std::uint32_t>(tone.size() * sizeof(std::int16_t));
        // The whole tone is one write; playback starts as soon as it has arrived.
        pa_buffer_attr attr{};
        attr.maxlength = static_cast<std::uint32_t>(-1);
        attr.tlength = bytes;
        attr.prebuf = bytes;
        attr.minreq = static_cast<std::uint32_t>(-1);
        attr.fragsize = static_cast<std::uint32_t>(-1);
        const auto toneLength = std::chrono::microseconds(pa->pa_bytes_to_usec(bytes, &format));
        const auto deadline = Clock::now() + connectTimeout + toneLength + playSlack;

        bool played = false;
        if (pa->pa_stream_connect_playback(stream, nullptr, &attr, PA_STREAM_NOFLAGS, nullptr,
                                           nullptr) == 0 &&
            runUntil(
                [this, stream] {
                    const pa_stream_state_t state = pa->pa_stream_get_state(stream);
                    return state == PA_STREAM_READY || !PA_STREAM_IS_GOOD(state);
                },
                deadline) &&
            pa->pa_stream_get_state(stream) == PA_STREAM_READY &&
            pa->pa_stream_write(stream, tone.data(), bytes, nullptr, 0, PA_SEEK_RELATIVE) == 0) {
            bool drained = false;
            pa_operation* drain = pa->pa_stream_drain(
                stream, [](pa_stream*, int, void* flag) { *static_cast<bool*>(flag) = true; },
                &drained);
            if (drain) {
                // A server that goes away meanwhile fails the stream: given up at once.
                const auto over = [&] {
                    return drained || !PA_STREAM_IS_GOOD(pa->pa_stream_get_state(stream));
                };
                played = runUntil(over, deadline) && drained;
                if (pa->pa_operation_get_state(drain) == PA_OPERATION_RUNNING)
                    pa->pa_operation_cancel(drain);
                pa->pa_operation_unref(drain);
            }
        }
        pa->pa_stream_disconnect(stream);
        pa->pa_stream_unref(stream);
        return played;
    }

    bool play() {
        if (interrupted || Clock::now() < retryAfter || !load())
            return false;
        timedOut = false;
        // A connection that looks alive may be stale (the server restarted): when it fails,
        // one fresh connection is tried before giving up.
        const bool connected = context && pa->pa_context_get_state(context) == PA_CONTEXT_READY;
        for (int attempt = connected ? 2 : 1; attempt > 0 && !interrupted; --attempt) {
            if (connect() && playTone()) {
                backoff = firstBackoff;
                return true;
            }
            dropContext();
        }
        // Where no server listens, the connection is refused in a fraction of a millisecond:
        // the next beep tries again. Only a server that kept us waiting is left alone.
        if (timedOut) {
            retryAfter = Clock::now() + backoff;
            backoff = std::min<Clock::duration>(backoff * 2, longestBackoff);
        }
        return false;
    }
};

SoundServerSink::SoundServerSink(std::vector<std::int16_t> tone, int sampleRate)
    : impl_(std::make_unique<Impl>(std::move(tone), sampleRate)) {}

SoundServerSink::~SoundServerSink() = default;

bool SoundServerSink::play() { return impl_->play(); }

void SoundServerSink::interrupt() {
    impl_->interrupted = true;
    if (pa_mainloop* loop = impl_->loop)
        impl_->pa->pa_mainloop_wakeup(loop);
}

} // namespace platform
