#include "../engine/rig.h"

// The wall clock set back, set forward by years, landing on the second it left, and
// standing still over many ticks. Offsets are seconds after the first command; a jump
// back makes them negative.
class TestWallClock : public QObject {
    Q_OBJECT
private slots:
    void jumps_data() {
        // clang-format off
        sim::AddScenarios({
            "interval: a jump back counts as one second|f2 0,10; start2; run 3; jump -3630; run 8|"
                "0 -3620",
            "interval: ten years ahead count as one second|f2 0,2; start2; run 1; jump 315360000; run 2|"
                "0 315360002",
            "interval: landing on the second last counted counts nothing|f2 0,10; start2; run 3; "
                "jump 59; run 10|0 70",
            "presentation: daylight saving ends mid-run|f4 0,2,0,5,0,8; start4; run 3; jump -3600; "
                "run 10|0 2 -3595 -3594 -3592 -3591 -3590"});
        // clang-format on
    }
    void jumps() { sim::PlayScenario(); }

    // While the clock stands still nothing is counted, bell 1 rings once, and bells 2 and 3
    // never beep twice in one second.
    void theSameSecondOnManyTicks() {
        sim::Rig rig;
        rig.play("f2 0,2; f4 0,1,0,1,0,1; start2; start4; run 1");
        const std::size_t acknowledged = rig.beeps.size();
        for (int second = 1; second <= 6; ++second) {
            for (int i = 0; i < 200; ++i) {
                rig.tick();
            }
            rig.ms += 1000;
        }
        // 1: bells 1 and 2; 2: bell 2 and the interval; 3 to 5: bell 3; the interval at 4 and 6.
        QList<int> seconds;
        for (std::size_t i = acknowledged; i < rig.beeps.size(); ++i) {
            seconds.push_back(int((rig.beeps[i] - sim::At(0, 10, 0, 0)) / 1000));
        }
        QCOMPARE(seconds, (QList<int>{1, 1, 2, 2, 3, 4, 4, 5, 6}));
    }

    // The time alarm compares the wall clock afresh on every tick: setting the clock back
    // out of the alarm time silences it, and forward into it fires it again.
    void theTimeAlarmFollowsTheClock() {
        sim::Rig rig;
        rig.ms = sim::At(0, 7, 45, 0) + 50;
        const auto notices = [&rig](const QString& script) {
            const std::size_t before = rig.notices.size();
            rig.play(script);
            return int(rig.notices.size() - before);
        };
        QCOMPARE(notices("f1 7,30; set; off; run 1"), 10);
        QCOMPARE(notices("jump -1500; run 1"), 0);  // 7:20
        QCOMPARE(notices("jump 3600; run 1"), 0);   // 8:20, a time zone ahead
        QCOMPARE(notices("jump -3000; run 1"), 10); // 7:30, daylight saving ends
        QCOMPARE(notices("jump 86400; run 1"), 10); // the next day
    }
};

QTEST_APPLESS_MAIN(TestWallClock)
#include "tst_wall_clock.moc"
