#include "rows.h"

class TestPresentation : public QObject {
    Q_OBJECT
private slots:
    void bells_data() {
        // clang-format off
        AddRows({"script", "offsets"}, {
            "1:00 2:00 3:00|f4 1,0,2,0,3,0; start4; run 200|0 60 120 121 180 181 182",
            "full-width|f4 １,０,２,０,３,０; start4; run 185|0 60 120 121 180 181 182",
            "START after the end rings all again|f4 0,6,0,8,0,9; start4; run 15; start4; run 15|"
                "0 6 8 9 10 11 12 15 21 23 24 25 26 27",
            "one field empty: all at once|f4 ,0,2,0,3,0; start4; run 10|0 0 0 1 2 3 4",
            "bell 1 at 0.5 s never|f4 0,0.5,0,3,0,5; start4; run 10|0 3 4 5 6 7",
            "bell 2 at 90.5 s from 91|f4 0,5,1,30.5,3,0; start4; run 185|0 5 91 92 180 181 182",
            "bell 3 at 90.5 s taken as 90|f4 0,5,0,10,1,30.5; start4; run 95|0 5 10 11 90 91 92",
            "bell 3 at 91.5 s taken as 92|f4 0,5,0,10,1,31.5; start4; run 95|0 5 10 11 92 93 94",
            "lowered times|f4 0,40,2,0,3,0; start4; run 30; f4 0,20,0,20,3,0; run 155|0 30 31 180 181 182",
            "bells 2, 3 skip the second of the last bell or load|f4 0,1,0,47,1,0; start4; run 65|"
                "0 1 48 49 60 61 62",
            "bell 3 below bells 1 and 2 ends the run|f4 0,9,0,8,0,3; start4; run 30|0 3 4 5",
            "bell 3 beyond 32 bits never rings|f4 0,1,0,2,99999999999,0; start4; run 20|0 1 2 3",
            "a text keeps it counting without bells|f4 0,3,0,5,0,9; start4; run 2; f4 0,3,0,5,x,9; "
                "run 5; f4 0,3,0,5,0,9; run 10|0 7 8 9 10 11",
            "アラームOFF suspends, START of Form2 resumes uncounted|f2 0,100; f4 1,0,2,0,3,0; start4; "
                "run 30; off; run 30; start2; run 160|0 60 90 150 151 160 210 211 212",
            "時刻設定 stops the run, not the interval|f2 0,7; f4 0,5,0,10,0,15; start4; start2; run 3; "
                "set; run 20|0 0 3 7 14 21",
            "daylight saving ends mid-run|f4 0,2,0,5,0,8; start4; run 3; jump -3600; run 10|"
                "0 2 -3595 -3594 -3592 -3591 -3590",
            "the clock standing still counts each second once|f2 0,2; f4 0,1,0,1,0,1; start2; start4; "
                "jump 1; hold 99; jump 1; hold 99; jump 1; hold 99; jump 1; hold 99; jump 1; hold 99|"
                "0 0 1 1 2 2 3 4 4 5"});
        // clang-format on
    }
    void bells() { PlayScenario(); }
};

QTEST_APPLESS_MAIN(TestPresentation)
#include "tst_presentation.moc"
