#include "rig.h"

#include <QTime>

using sim::At;

// The time alarm: which ticks fire it, and the chime (5 beeps) unless muted.
class TestTimeAlarm : public QObject {
    Q_OBJECT
private slots:
    void firing_data() {
        QTest::addColumn<QString>("row");
        // name | commands | Form1 fields, typed after arming | day h:m:s of the tick | fires
        // clang-format off
        for (const char* row : {
                 "before|set|7,30|0 7:29:59|0", "first second|set|7,30|0 7:30:00|1",
                 "last second|set|7,30|0 7:59:59|1", "after|set|7,30|0 8:00:00|0",
                 "next day|set|7,30|1 7:30:00|1", "minute passed when armed|set|7,30|0 7:45:00|1",
                 "not armed||7,30|0 7:30:00|0", "muted: notice only|set; off|7,30|0 7:30:00|1",
                 "minute empty|set|7,|0 7:00:00|1", "both empty 0:00|set|,|0 0:00:00|1",
                 "both empty 0:59|set|,|0 0:59:59|1", "both empty 1:00|set|,|0 1:00:00|0",
                 "minute 60|set|7,60|0 7:59:59|0", "hour 24|set|24,0|0 0:30:00|0",
                 "hour 7.5|set|7.5,0|0 7:30:00|0", "negative minute|set|7,-5|0 7:00:00|1",
                 "7時|set|7時,30分|0 7:30:00|1", "blanks, full-width|set|\t　７\n,３ ０|0 7:30:00|1",
                 "1 2 is 12|set|1 2,0|0 12:00:00|1", "hex and octal|set|&H7,&O36|0 7:30:00|1",
                 "hour beyond double|set|1e999,0|0 0:00:00|0",
                 "minute beyond double|set|7,-1e999|0 7:30:00|0"}) {
            QTest::newRow(QString(row).section('|', 0, 0).toUtf8()) << QString(row);
        }
        // clang-format on
    }
    void firing() {
        QFETCH(QString, row);
        const QStringList cell = row.split('|');
        const QTime time = QTime::fromString(cell[3].section(' ', 1), "h:mm:ss");
        sim::Rig rig;
        rig.ms = At(cell[3].section(' ', 0, 0).toInt(), time.hour(), time.minute(), time.second());
        rig.play(cell[1] + "; f1 " + cell[2]);
        const std::size_t acknowledged = rig.beeps.size();
        rig.tick();
        const bool fires = cell[4] == "1";
        const bool chime = fires && !cell[1].contains("off");
        QCOMPARE(int(rig.notices.size()), fires ? 1 : 0);
        QCOMPARE(int(rig.beeps.size() - acknowledged), chime ? 5 : 0);
        if (fires) {
            QCOMPARE(rig.log[rig.log.size() - (chime ? 8 : 3)], std::string{"時間ですよ！"});
        }
    }

    // One alarm over a day: every tick of 7:30:00..7:59:59 fires, and again the next day.
    void road() {
        sim::Rig rig;
        rig.ms = At(0, 7, 29, 58) + 50;
        rig.play("f1 7,30; set; run 4; jump 1795; run 4; jump 84597; run 4");
        QCOMPARE(int(rig.notices.size()), 70);
        QCOMPARE(rig.notices.front(), At(0, 7, 30, 0) + 50);
        QCOMPARE(rig.notices[49], At(0, 7, 59, 59) + 950);
        QCOMPARE(rig.notices[50], At(1, 7, 30, 0) + 50);
        QCOMPARE(int(rig.beeps.size()), 1 + 70 * 5);
    }
};

QTEST_APPLESS_MAIN(TestTimeAlarm)
#include "tst_time_alarm.moc"
