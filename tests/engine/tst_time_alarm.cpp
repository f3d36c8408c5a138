#include "rows.h"

using sim::At;

// Which ticks fire the time alarm: the notice, then the chime of five beeps unless muted.
class TestTimeAlarm : public QObject {
    Q_OBJECT
private slots:
    void firing_data() {
        // clang-format off
        AddRows({"commands", "fields", "time", "fires"}, {
            "before|set|7,30|7:29:59|0", "first second|set|7,30|7:30:00|1",
            "last second|set|7,30|7:59:59|1", "after|set|7,30|8:00:00|0",
            "not armed||7,30|7:30:00|0", "muted: the notice only|set; off|7,30|7:30:00|1",
            "minute empty|set|7,|7:00:00|1", "both empty|set|,|0:59:59|1", "both empty 1:00|set|,|1:00:00|0",
            "minute 60|set|7,60|7:59:59|0", "hour 7.5|set|7.5,0|7:30:00|0", "negative minute|set|7,-5|7:00:00|1",
            "7時 30分|set|7時,30分|7:30:00|1", "blanks, full-width|set|\t　７\n,３ ０|7:30:00|1",
            "hex and octal|set|&H7,&O36|7:30:00|1", "hour beyond a double|set|1e999,0|0:00:00|0"});
        // clang-format on
    }
    void firing() {
        QFETCH(QString, commands);
        QFETCH(QString, fields);
        QFETCH(QString, time);
        QFETCH(QString, fires);
        sim::World world;
        const QTime t = QTime::fromString(time, "h:mm:ss");
        world.ms = At(0, t.hour(), t.minute(), t.second());
        world.play(commands.toStdString() + "; f1 " + fields.toStdString());
        const std::size_t acknowledged = world.beeps.size();
        world.log.clear();
        world.tick();
        const int chime = fires == "1" && !commands.contains("off") ? 5 : 0;
        QCOMPARE(QString::number(world.notices.size()), fires);
        QCOMPARE(int(world.beeps.size() - acknowledged), chime);
        if (fires == "1") // the notice comes before the chime, and both before the hands
            QCOMPARE(world.log[world.log.size() - 3 - chime], std::string{"時間ですよ！"});
    }

    // One alarm over two days: every tick of 7:30:00..7:59:59 fires, and again the next
    // day; the wall clock set back out of the alarm time silences it.
    void road() {
        sim::World world;
        world.ms = At(0, 7, 29, 58) + 50;
        world.play("f1 7,30; set; run 4; jump 1795; run 4; jump -3000; run 1; jump 87596; run 4");
        QCOMPARE(world.notices.size(), 70u);
        QCOMPARE(world.notices[0], At(0, 7, 30, 0) + 50);
        QCOMPARE(world.notices[49], At(0, 7, 59, 59) + 950);
        QCOMPARE(world.notices[50], At(1, 7, 30, 0) + 50);
        QCOMPARE(world.beeps.size(), 1 + 70 * 5u);
    }
};

QTEST_APPLESS_MAIN(TestTimeAlarm)
#include "tst_time_alarm.moc"
