#include "rig.h"

// The interval alarm; offsets are seconds after the first command, acknowledgements
// included.
class TestInterval : public QObject {
    Q_OBJECT
private slots:
    void beeps_data() {
        // clang-format off
        sim::AddScenarios({
            "10 s|f2 0,10; start2; run 35|0 10 20 30",
            "full-width 10 s|f2 ０,　１０; start2; run 25|0 10 20",
            "1.5 s never|f2 0,1.5; start2; run 20|0",
            "0.5 min|f2 0.5,0; start2; run 65|0 30 60",
            "minutes empty: length 0, each tick of the START second|f2 ,10; start2; run 5|0 0 0 0 0 0 0 0 0 0 0",
            "lowered below the count|f2 0,60; start2; run 10; f2 0,3; run 60|0",
            "cleared mid-run|f2 0,10; start2; run 5; f2 0,; run 20|0",
            "START restarts from 0|f2 0,10; start2; run 5; start2; run 11|0 5 15",
            "アラームOFF stops it|f2 0,10; start2; run 5; off; run 20|0",
            "a clock jump counts as one second|f2 0,10; start2; run 3; jump 3630; run 8|0 3640",
            "undefined length, bells go on|f2 x,3; f4 0,1,0,2,0,3; start4; start2; run 7|0 0 1 2 3 4 5 6"});
        // clang-format on
        for (const char* text : {"abc", "  ", "　", "-", "1e999", "1e308"}) {
            QTest::addRow("'%s' pauses matching, not counting", text)
                << QString("f2 0,10; start2; run 4; f2 %1,10; run 3; f2 0,10; run 10").arg(text)
                << QList<int>{0, 10};
        }
    }
    void beeps() { sim::PlayScenario(); }
};

QTEST_APPLESS_MAIN(TestInterval)
#include "tst_interval.moc"
