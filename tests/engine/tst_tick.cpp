#include "rig.h"

using engine::Value;
using Log = std::vector<std::string>;

namespace {

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

} // namespace

class TestTick : public QObject {
    Q_OBJECT
private slots:
    void order_data() {
        QTest::addColumn<QString>("failAt");
        QTest::addColumn<int>("steps");
        QTest::newRow("no failure") << "" << int(kFullTick.size());
        QTest::newRow("ShowDigitalTime fails") << "ShowDigitalTime" << 9;
        QTest::newRow("DrawDialMarks fails") << "DrawDialMarks" << 13;
        QTest::newRow("DrawHands fails") << "DrawHands" << int(kFullTick.size()) - 1;
    }
    // A failing step ends the tick there; the next tick runs in full.
    void order() {
        QFETCH(QString, failAt);
        QFETCH(int, steps);
        sim::Rig rig;
        rig.play("f1 10,0; f2 ,0; set; start4; start2");
        rig.log.clear();
        rig.failAt = failAt.toStdString();
        try {
            rig.tick();
            QVERIFY(failAt.isEmpty());
        } catch (const engine::RunTimeError&) {
            QVERIFY(!failAt.isEmpty());
        }
        QCOMPARE(rig.log, Log(kFullTick.begin(), kFullTick.begin() + steps));
        rig.failAt.clear();
        rig.log.clear();
        rig.tick();
        QCOMPARE(rig.log.back(), std::string{"ShowTitle"});
        QVERIFY(steps > 13 || rig.log == kFullTick);
    }

    void unarmedTickReadsNoForm1Field() {
        sim::Rig rig;
        rig.tick();
        QCOMPARE(rig.log,
                 Log({"read2", "read3", "read4", "read5", "read6", "read7", "read8", "read9",
                      "ShowDigitalTime", "DrawDialMarks", "DrawHands", "ShowTitle"}));
    }

    // A chime that holds the thread for 20 s counts as one second for the interval alarm.
    void chimeSecondsAreNotCounted() {
        sim::Rig rig;
        rig.ms = sim::At(0, 7, 29, 55) + 50;
        rig.play("f1 7,30; set; f2 0,10; start2; run 5");
        rig.onBeep = [&rig] { rig.ms += 4000; };
        rig.tick();
        rig.onBeep = nullptr;
        QCOMPARE(rig.beeps.back(), sim::At(0, 7, 30, 16) + 50);
        QCOMPARE(rig.state.intervalCount, Value{std::int16_t{5}});
        QCOMPARE(rig.play("f1 23,30; run 15"), (QList<int>{4, 14}));
    }

    void chime_data() {
        QTest::addColumn<int>("rounds");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("spins");
        QTest::newRow("5 x 2 x 3") << 5 << 2 << 3;
        QTest::newRow("outer counter beyond 16 bits") << 5 << 40000 << 2;
        QTest::newRow("no pause") << 3 << 0 << 7;
        QTest::newRow("round counter overflows") << 40000 << 0 << 1;
    }
    // Each beep comes before its pause, the first at once; the call returns after the last
    // pause with every counter one past its bound, or fails when a counter overflows.
    void chime() {
        QFETCH(int, rounds);
        QFETCH(int, steps);
        QFETCH(int, spins);
        sim::Rig rig;
        QList<Value> stepAtBeep;
        rig.onBeep = [&] { stepAtBeep.push_back(std::exchange(rig.state.chimeStep, Value{})); };
        try {
            engine::RingChime(rig.state, rig, {rounds, steps, spins});
            QVERIFY(rounds < 32767);
        } catch (const engine::RunTimeError& e) {
            QCOMPARE(e.kind(), engine::RunTimeError::Kind::Overflow);
            QCOMPARE(int(rig.beeps.size()), 32767);
            return;
        }
        const Value pauseDone{static_cast<std::int32_t>(steps + 1)};
        QList<Value> expected(rounds, pauseDone);
        expected[0] = Value{};
        QCOMPARE(stepAtBeep, expected);
        QCOMPARE(rig.state.chimeStep, pauseDone);
        QCOMPARE(int{rig.state.chimeRound}, rounds + 1);
        QCOMPARE(rig.state.chimeSpin, steps > 0 ? spins + 1 : 0);
    }
};

QTEST_APPLESS_MAIN(TestTick)
#include "tst_tick.moc"
