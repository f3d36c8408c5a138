// The engine and the model of the alarms side by side, on a run whose every choice (field
// texts, commands, the clock's moves) comes from the input.

#include "../engine/model.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    struct Bytes final : sim::Choices {
        const std::uint8_t *at = nullptr, *end = nullptr;
        int ticks = 0;
        int pick(int n) override {
            int value = 0;
            for (int range = 1; range < n && at < end; range <<= 8)
                value = value << 8 | *at++;
            return value % n;
        }
        std::string text() override {
            const std::size_t wanted = pick(9), length = std::min<std::size_t>(wanted, end - at);
            return {reinterpret_cast<const char*>(std::exchange(at, at + length)), length};
        }
        bool done() override { return at >= end || ++ticks > 20000; }
    } bytes;
    bytes.at = data;
    bytes.end = data + size;
    sim::Model model;
    if (const std::string difference = sim::RunBesideModel(bytes, 8, model); !difference.empty()) {
        std::fprintf(stderr, "%s\n", difference.c_str());
        std::abort();
    }
    return 0;
}
