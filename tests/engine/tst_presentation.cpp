#include "rig.h"

#include <QRandomGenerator>

// The presentation alarm and where it meets the other two; offsets are seconds after the
// first command, acknowledgements included.
class TestPresentation : public QObject {
    Q_OBJECT
private slots:
    void bells_data() {
        // clang-format off
        sim::AddScenarios({
            "1:00 2:00 3:00|f4 1,0,2,0,3,0; start4; run 200|0 60 120 121 180 181 182",
            "full-width|f4 １,０,２,０,３,０; start4; run 185|0 60 120 121 180 181 182",
            "START after the end rings all again|f4 1,0,2,0,3,0; start4; run 190; start4; run 185|"
                "0 60 120 121 180 181 182 190 250 310 311 370 371 372",
            "one field empty: all at once|f4 ,0,2,0,3,0; start4; run 10|0 0 0 1 2 3 4",
            "bell 1 at 0.5 s never|f4 0,0.5,0,3,0,5; start4; run 10|0 3 4 5 6 7",
            "bell 2 at 90.5 s from 91|f4 0,5,1,30.5,3,0; start4; run 185|0 5 91 92 180 181 182",
            "bell 3 at 90.5 s taken as 90|f4 0,5,0,10,1,30.5; start4; run 95|0 5 10 11 90 91 92",
            "bell 3 at 91.5 s taken as 92|f4 0,5,0,10,1,31.5; start4; run 95|0 5 10 11 92 93 94",
            "lowered times|f4 0,40,2,0,3,0; start4; run 30; f4 0,20,0,20,3,0; run 155|0 30 31 180 181 182",
            "field cleared mid-run|f4 1,0,2,0,3,0; start4; run 30; f4 1,0,2,0,3,; run 30|0 30 31 32 33 34",
            "bells 2, 3 skip the second of the last bell or load|f4 0,1,0,47,1,0; start4; run 65|"
                "0 1 48 49 60 61 62",
            "bell 3 below bell 2 ends the run|f4 0,5,1,0,0,3; start4; run 70|0 3 4 5 5",
            "bell 3 beyond 32 bits never rings|f4 0,1,0,2,99999999999,0; start4; run 20|0 1 2 3",
            "undefined bells, interval goes on|f2 0,3; f4 0,1,0,2,x,3; start4; start2; run 7|0 0 3 6",
            "アラームOFF suspends, START of Form2 resumes uncounted|f2 0,100; f4 1,0,2,0,3,0; start4; "
                "run 30; off; run 30; start2; run 160|0 60 90 150 151 160 210 211 212",
            "時刻設定 stops the run, not the interval|f2 0,7; f4 0,5,0,10,0,15; start4; start2; run 3; "
                "set; run 20|0 0 3 7 14 21"});
        // clang-format on
        for (const char* text : {"abc", "  ", "-", "1e999"}) {
            QTest::addRow("'%s' keeps counting, no bell", text)
                << QString("f4 1,0,2,0,3,0; start4; run 50; f4 %1,0,2,0,3,0; run 20; "
                           "f4 1,0,2,0,3,0; run 115")
                       .arg(text)
                << QList<int>{0, 120, 121, 180, 181, 182};
        }
    }
    void bells() { sim::PlayScenario(); }

    // Random texts, commands and clock steps: the bell counters stay within their bounds
    // and a run whose bell 3 has rung three times is off.
    void invariants() {
        const QStringList texts = {"", "0", "1", "2", "0.5", "-", "abc", "１", "99999999999", "3"};
        const QStringList commands = {"start4", "start2", "off", "set", "", "", "", ""};
        QRandomGenerator random(20240611);
        const auto pick = [&](const QStringList& l) { return l[random.bounded(int(l.size()))]; };
        sim::Rig rig;
        const auto& s = rig.state;
        const engine::Value zero{std::int16_t{0}}, one{std::int16_t{1}}, two{std::int16_t{2}},
            three{std::int16_t{3}};
        for (int i = 0; i < 20000; ++i) {
            const QString step = "f4 %1,%2,%3,%4,%5,%6; %7; run %8";
            rig.play(step.arg(pick(texts), pick(texts), pick(texts), pick(texts), pick(texts),
                              pick(texts), pick(commands))
                         .arg(random.bounded(4)));
            QVERIFY(s.bell1Count <= one && s.bell2Count <= two && s.bell3Count <= three);
            QVERIFY(s.bell3Count != three || s.presOn == zero);
        }
        QVERIFY(rig.beeps.size() > 1000);
    }
};

QTEST_APPLESS_MAIN(TestPresentation)
#include "tst_presentation.moc"
