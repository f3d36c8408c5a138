#include "rows.h"

class TestInterval : public QObject {
    Q_OBJECT
private slots:
    void beeps_data() {
        // clang-format off
        AddRows({"script", "offsets"}, {
            "10 s|f2 0,10; start2; run 35|0 10 20 30",
            "full-width 10 s|f2 ０,　１０; start2; run 25|0 10 20",
            "1.5 s never|f2 0,1.5; start2; run 20|0",
            "0.5 min|f2 0.5,0; start2; run 65|0 30 60",
            "minutes empty: length 0, each tick of the START second|f2 ,10; start2; run 5|0 0 0 0 0 0 0 0 0 0 0",
            "lowered below the count|f2 0,60; start2; run 10; f2 0,3; run 60|0",
            "START restarts from 0|f2 0,10; start2; run 5; start2; run 11|0 5 15",
            "アラームOFF stops it|f2 0,10; start2; run 5; off; run 20|0",
            "a clock jump counts as one second|f2 0,10; start2; run 3; jump 3630; run 8|0 3640",
            "a jump back counts as one second|f2 0,10; start2; run 3; jump -3630; run 8|0 -3620",
            "landing on the second last counted counts nothing|f2 0,10; start2; run 3; jump 59; run 10|0 70",
            "text pauses matching, not counting|f2 0,10; start2; run 4; f2 -,10; run 3; f2 0,10; run 10|0 10",
            "beyond a double pauses it too|f2 0,10; start2; run 4; f2 1e999,10; run 3; f2 0,10; run 10|0 10"});
        // clang-format on
    }
    void beeps() { PlayScenario(); }
};

QTEST_APPLESS_MAIN(TestInterval)
#include "tst_interval.moc"
