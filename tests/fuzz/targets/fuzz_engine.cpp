// The engine driven by a script decoded from the input: ticks over a simulated wall clock
// that jumps back and forth, stands still and skips seconds, arbitrary field texts, the
// four commands, and face steps that fail. After every tick the state's invariants hold,
// every step up to the failing one has run and none after it, and each counter has moved
// by at most one counted second or beep, or back to 0.

#include "engine/commands.h"
#include "engine/tick.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using engine::Field;
using engine::Value;

namespace {

void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "property failed: %s\n", what);
        std::abort();
    }
}

struct FaceFault {};

constexpr long long kDay = 24LL * 3600 * 1000;
constexpr int kReadsBase = 0;  // log entries 0..9: a field read, by Field
constexpr int kFaceBase = 100; // log entries 100..103: the face steps in tick order

class World final : public engine::WallClock,
                    public engine::Beeper,
                    public engine::Dialogs,
                    public engine::FaceSteps {
public:
    long long ms = 10 * 3600 * 1000;
    int failAt = -1; // the face step that throws in the next tick
    std::vector<int> log;
    int beeps = 0;
    int notices = 0;
    std::array<std::string, 10> fields;

    int hour() override { return static_cast<int>(ms / 3600000 % 24); }
    int minute() override { return static_cast<int>(ms / 60000 % 60); }
    int second() override { return static_cast<int>(ms / 1000 % 60); }
    engine::LocalDateTime now() override { return {2024, 1, 1, hour(), minute(), second()}; }
    void beep() override { ++beeps; }
    std::string fieldText(Field field) override {
        log.push_back(kReadsBase + static_cast<int>(field));
        return fields[static_cast<std::size_t>(field)];
    }
    void setNotice(std::string_view) override { ++notices; }
    void ShowDigitalTime() override { face(0); }
    void DrawDialMarks() override { face(1); }
    void DrawHands() override { face(2); }
    void ShowTitle() override { face(3); }

    void moveTo(long long next) { ms = ((next % kDay) + kDay) % kDay + kDay; }

private:
    void face(int step) {
        log.push_back(kFaceBase + step);
        if (failAt == step) {
            throw FaceFault{};
        }
    }
};

double Num(const Value& v) { return v.toDouble().value_or(-1.0); }

const Value kOne{std::int16_t{1}};
const Value kZero{std::int16_t{0}};

void CheckInvariants(const engine::AlarmState& s) {
    Require(Num(s.bell1Count) <= 1 && Num(s.bell2Count) <= 2 && Num(s.bell3Count) <= 3,
            "bell counters within 1, 2, 3");
    Require(Num(s.bell3Count) != 3 || s.presOn == kZero,
            "presOn is 0 once bell 3 rang three times");
}

// Up by one (1) or unchanged (0); anything else fails.
int Step(const Value& before, const Value& after, const char* what) {
    const double d = Num(after) - Num(before);
    Require(d == 0 || d == 1, what);
    return static_cast<int>(d);
}

void Tick(engine::AlarmState& s, World& world, engine::TickPorts& ports) {
    const engine::AlarmState was = s;
    const bool armed = s.alarmArmed == kOne;
    const bool presRuns = s.presOn == kOne && s.alarmOff == kZero;
    const bool intervalRuns = s.intervalOn == kOne;
    const Value second{static_cast<std::int16_t>(world.second())};
    world.log.clear();
    world.beeps = 0;
    world.notices = 0;
    try {
        engine::Timer1_Timer(s, ports);
        Require(world.failAt < 0, "a failing face step ends the tick");
    } catch (const FaceFault&) {
        Require(world.failAt >= 0, "only the failing face step throws");
    }

    // The log of a whole tick, cut after the step that failed.
    std::vector<int> expected;
    for (int f = 2; f < 10; ++f) {
        expected.push_back(kReadsBase + f);
    }
    expected.push_back(kFaceBase + 0);
    if (armed) {
        expected.insert(expected.end(), {kReadsBase + 0, kReadsBase + 1});
    }
    for (int step = 1; step < 4; ++step) {
        expected.push_back(kFaceBase + step);
    }
    if (world.failAt >= 0) {
        const auto failed = std::find(expected.begin(), expected.end(), kFaceBase + world.failAt);
        expected.erase(failed + 1, expected.end());
    }
    Require(world.log == expected, "the steps of the tick, in order, up to the failing one");

    CheckInvariants(s);
    const bool alarmsRan = world.failAt < 0 || world.failAt >= 2;
    const int presStep = Step(was.presCount, s.presCount, "presCount moves by one");
    Require(presStep == (alarmsRan && presRuns && second != was.presLastSec),
            "presCount counts each new second while running");
    Require(presStep == 0 ? s.presLastSec == was.presLastSec : s.presLastSec == second,
            "presLastSec notes the counted second");
    const int bells = Step(was.bell1Count, s.bell1Count, "bell 1 counts one beep") +
                      Step(was.bell2Count, s.bell2Count, "bell 2 counts one beep") +
                      Step(was.bell3Count, s.bell3Count, "bell 3 counts one beep");
    Require(bells == 0 || (alarmsRan && presRuns), "bells ring only while the run goes on");
    Require(s.presOn == was.presOn || Num(s.bell3Count) == 3, "only bell 3 ends a run");

    // Step 9 ran when due: the notice, and the chime unless muted.
    int chimes = 0;
    if (world.failAt < 0 || world.failAt >= 2) {
        const bool due = armed && Value{static_cast<std::int16_t>(world.hour())} == s.alarmHour &&
                         s.alarmMinute <= Value{static_cast<std::int16_t>(world.minute())};
        Require(world.notices == (due ? 1 : 0), "the notice when the alarm time has come");
        chimes = due && s.alarmOff == kZero ? 5 : 0;
    } else {
        Require(world.notices == 0 && world.beeps == 0, "nothing after a failed early step");
    }

    // What is left of the beeps is the interval alarm's: one when its count went back to 0.
    const int intervalBeeps = world.beeps - bells - chimes;
    if (alarmsRan && intervalRuns) {
        const bool counts = second != was.intervalLastSec;
        const double counted = Num(was.intervalCount) + (counts ? 1 : 0);
        Require(Num(s.intervalCount) == counted || s.intervalCount == kZero,
                "intervalCount counts the new second or starts again from 0");
        Require(s.intervalLastSec == (counts ? second : was.intervalLastSec),
                "intervalLastSec notes the counted second");
        const int expected = counted == 0 ? intervalBeeps : s.intervalCount == kZero ? 1 : 0;
        Require((intervalBeeps == 0 || intervalBeeps == 1) && intervalBeeps == expected,
                "one interval beep when the count reaches the length");
    } else {
        Require(s.intervalCount == was.intervalCount && intervalBeeps == 0,
                "the interval alarm rests while off or skipped");
    }
}

const char* const kTexts[] = {
    "",   "0",     "1",           "2",   "3",   "10", "0.5", "1.5",          "-",    " ", "abc",
    "１", "1e999", "99999999999", "7時", "&H1", "-1", "60",  "2147483647.5", "\t7\n"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    World world;
    engine::AlarmState s;
    engine::TickPorts ports{world, world, world, world, engine::ChimeBounds{5, 2, 3}};
    engine::ResetAlarms(s);
    engine::NoteStartSecond(s, world);
    long long budget = 20000; // ticks per input, so that one input stays fast

    while (in.remaining_bytes() > 0 && budget > 0) {
        switch (in.ConsumeIntegralInRange<int>(0, 11)) {
        case 0:
        case 1:
        case 2: { // a run of ticks, some failing, at one spacing
            constexpr int spacings[] = {100, 100, 100, 0, 250, 999, 1000, 2000};
            const int spacing = spacings[in.ConsumeIntegralInRange<int>(0, 7)];
            const int ticks = in.ConsumeIntegralInRange<int>(1, 600);
            const int failEvery = in.ConsumeIntegralInRange<int>(0, 7);
            for (int i = 0; i < ticks && budget > 0; ++i, --budget) {
                world.failAt = failEvery > 0 && i % failEvery == 0 ? i % 4 : -1;
                Tick(s, world, ports);
                world.moveTo(world.ms + spacing);
            }
            world.failAt = -1;
            break;
        }
        case 3: // the wall clock set back or forward, by up to two days
            world.moveTo(world.ms + 1000LL * in.ConsumeIntegralInRange<int>(-172800, 172800));
            break;
        case 4: // to a time of day
            world.moveTo(in.ConsumeIntegralInRange<long long>(0, kDay - 1));
            break;
        case 5: {
            auto& field = world.fields[in.ConsumeIntegralInRange<std::size_t>(0, 9)];
            field = in.ConsumeBool() ? kTexts[in.ConsumeIntegralInRange<std::size_t>(0, 19)]
                                     : in.ConsumeRandomLengthString(24);
            break;
        }
        case 6: // small whole numbers in all the bell fields
            for (std::size_t f = 4; f < 10; ++f) {
                world.fields[f] = std::to_string(in.ConsumeIntegralInRange<int>(0, 3));
            }
            break;
        case 7: engine::SetAlarmTime(s, world, world); break;
        case 8: engine::StartInterval(s, world, world); break;
        case 9: engine::StartPresentation(s, world, world); break;
        case 10: engine::AlarmOff(s); break;
        default: // the same second on many ticks
            for (int i = 0; i < 50 && budget > 0; ++i, --budget) {
                Tick(s, world, ports);
            }
            break;
        }
        CheckInvariants(s);
    }
    return 0;
}
