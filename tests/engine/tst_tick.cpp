#include "rows.h"

using engine::Value;
using Log = std::vector<std::string>;

// clang-format off
// A tick with everything due at once: Form1 at 10:00, all bells at 0, interval length 0.
const Log kFullTick = {
    "read2", "read3", "read4", "read5", "read6", "read7", "read8", "read9", "ShowDigitalTime",
    "read0", "read1", "m", "DrawDialMarks",
    "s", "beep",           // presentation: count, bell 1
    "s", "beep", "s", "s", // bell 2 rings, bell 3 waits for the next second
    "s", "beep",           // interval
    "h", "時間ですよ！", "beep", "beep", "beep", "beep", "beep", "DrawHands", "ShowTitle"};
// clang-format on

class TestTick : public QObject {
    Q_OBJECT
private slots:
    // A failing step ends the tick there; the next tick runs in full. Unarmed, a tick reads
    // no field of Form1.
    void order_data() {
        AddRows({"armed", "failAt", "steps"},
                {"1||30", "1|ShowDigitalTime|9", "1|DrawDialMarks|13", "1|DrawHands|29", "0||12"});
    }
    void order() {
        QFETCH(QString, armed);
        QFETCH(QString, failAt);
        QFETCH(QString, steps);
        sim::World world;
        world.play(armed == "1" ? "f1 10,0; f2 ,0; set; start4; start2" : "");
        world.log.clear();
        world.failAt = failAt.toStdString();
        try {
            world.tick();
            QVERIFY(failAt.isEmpty());
        } catch (const engine::RunTimeError&) {
            QVERIFY(!failAt.isEmpty());
        }
        Log expected(kFullTick.begin(), kFullTick.begin() + steps.toInt());
        if (armed == "0")
            expected = {"read2",           "read3",         "read4",     "read5",
                        "read6",           "read7",         "read8",     "read9",
                        "ShowDigitalTime", "DrawDialMarks", "DrawHands", "ShowTitle"};
        QCOMPARE(world.log, expected);
        world.failAt.clear();
        world.tick();
        QCOMPARE(world.log.back(), std::string{"ShowTitle"});
    }

    // The chime: each beep before its pause, the first at once, and a pause after the last.
    void chime() {
        sim::World world;
        engine::RingChime(world.state, world, {5, 2, 3});
        const Value paused{std::int32_t{3}}; // the outer pause counter, one past its bound
        QCOMPARE(world.chimeStepAtBeep,
                 std::vector<Value>({Value{}, paused, paused, paused, paused}));
        QCOMPARE(world.state.chimeStep, paused);
    }
};

QTEST_APPLESS_MAIN(TestTick)
#include "tst_tick.moc"
