#pragma once

// A model of the three alarms written from their description, sharing no alarm code with
// the engine (it reads texts by the engine's value rules, which have tests of their own),
// and a run that ticks the engine and the model side by side, beep for beep.

#include "sim.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <span>
#include <utility>

namespace sim {

struct Model {
    std::array<std::string, 10> field; // by engine::Field
    bool armed = false, muted = false, intervalOn = false, presOn = false;
    long long intervalCount = 0, presCount = 0, notices = 0, ended = 0, chimes = 0, intervals = 0;
    int intervalLast = -1, presLast = -1, lastBeep = 47, bell[3] = {};

    // Minutes x 60 + seconds of the fields from `first`: 0 when one of `all` is empty.
    std::optional<double> time(std::size_t first, std::size_t from, std::size_t to) const {
        const auto all = std::span(field).subspan(from, to - from);
        if (std::ranges::any_of(all, [](auto& f) { return f.empty(); }))
            return 0.0;
        const auto m = engine::ReadDecimal(field[first]), s = engine::ReadDecimal(field[first + 1]);
        if (std::ranges::any_of(all, [](auto& f) { return !engine::ReadDecimal(f); }) ||
            !std::isfinite(*m * 60 + *s))
            return std::nullopt;
        return *m * 60 + *s;
    }

    int tick(int h, int m, int s) { // the beeps of one tick
        std::optional<double> bells[3] = {time(4, 4, 10), time(6, 4, 10), time(8, 4, 10)};
        if (bells[2] &&
            ((*bells[2] = std::nearbyint(*bells[2])) < -2147483648.0 || *bells[2] > 2147483647.0))
            bells[2].reset(); // halves to even, and beyond 32 bits it never rings
        const std::optional<double> length = time(2, 2, 4);
        int beeps = 0;
        if (presOn && !muted) {
            presCount += std::exchange(presLast, s) != s;
            if (bells[0] && presCount == *bells[0] && bell[0] == 0)
                ++beeps, ++bell[0];
            for (int b = 1; b < 3; ++b) {
                if (bells[b] && presCount >= *bells[b] && s != lastBeep && bell[b] <= b) {
                    ++beeps, lastBeep = s;
                    presOn = ++bell[b] < 3;
                    ended += !presOn;
                }
            }
        }
        if (intervalOn && (intervalCount += std::exchange(intervalLast, s) != s) == length)
            ++beeps, ++intervals, intervalCount = 0;
        const auto hour = engine::LeadingNumber(field[0]), minute = engine::LeadingNumber(field[1]);
        if (armed && hour && minute && *hour == h && *minute <= m) {
            ++notices;
            beeps += muted ? 0 : 5;
            chimes += !muted;
        }
        return beeps;
    }

    void command(int which, int s) { // set, start2, start4, off
        if (which == 1)
            intervalCount = 0, intervalOn = true, intervalLast = s;
        else if (which != 3)
            presCount = 0, presOn = which == 2, presLast = s, bell[0] = bell[1] = bell[2] = 0;
        armed = armed || which == 0;
        muted = which == 3;
        intervalOn = intervalOn && which != 3;
    }
};

// Ticks 100 ms apart until `hours` have passed or pick(n), which gives 0..n-1, gives -1;
// one time in `rarity` something else happens: a field edited, a command, the clock set,
// standing still or skipping seconds. Returns the first disagreement with the model.
template <class Pick> std::string RunBesideModel(Pick pick, int rarity, int hours, Model& model) {
    static const char* const texts[] = {"",     "0",   "1",   "2",   "3",     "5",  "10",  "23",
                                        "30",   "60",  "0.5", "1.5", "2.5",   "-1", " 7 ", "7時",
                                        "１０", "abc", "-",   "  ",  "1e999", "&H7"};
    World world;
    world.ms += 86400000; // a day ahead, so that the clock can be set back
    const long long end = world.ms + hours * 3600000LL;
    for (int stalled = 0, event; (event = pick(rarity)) >= 0 && world.ms < end;) {
        const auto choose = [&](int n) { return std::max(0, pick(n)); };
        if (event == 1) {
            const int f = choose(10);
            world.fields[engine::Field(f)] = model.field[std::size_t(f)] =
                texts[choose(std::size(texts))];
        } else if (event == 2) {
            const int which = choose(4);
            model.command(which, int(world.ms / 1000 % 60));
            world.play(std::array{"set", "start2", "start4", "off"}[std::size_t(which)]);
        } else if (event == 3) { // a time zone or daylight saving, back or forward
            world.ms = std::max(world.ms + 1000LL * (choose(14401) - 7200), 86400000LL);
        } else if (event == 4) {
            stalled = choose(40);
        }
        const std::size_t before = world.heard.size();
        const long long notices = model.notices;
        const int expected = model.tick(int(world.ms / 3600000 % 24), int(world.ms / 60000 % 60),
                                        int(world.ms / 1000 % 60));
        world.tick();
        world.log.clear();
        const auto beeps = std::count_if(world.heard.begin() + long(before), world.heard.end(),
                                         [](const auto& e) { return e.first == 'b'; });
        if (beeps != expected ||
            long(world.heard.size() - before) - beeps != model.notices - notices)
            return "at " + std::to_string(world.ms) + " ms the engine beeped " +
                   std::to_string(beeps) + " times, the model " + std::to_string(expected);
        // The chime holds the thread while the clock runs on; now and then seconds are lost.
        world.ms += stalled > 0 && stalled-- ? 0
                    : choose(50) == 0        ? 1000 + choose(2000)
                                             : 100 + (expected >= 5) * 2000;
    }
    return {};
}

} // namespace sim
