// The clock face as the clock window shows it, on its client area of 481 x 359 pixels
// (7215 x 5385 twips), under Japanese regional settings.

#include "../ui/program.h"

namespace {

// X1 Y1 X2 Y2 of a line of the dial, in twips.
QString ends(Program& p, face::Line line) {
    QStringList ends;
    for (const float end : p.main().dial().line(line).ends)
        ends << QString::number(end, 'g', 10);
    return ends.join(' ');
}

} // namespace

class TestFace : public QObject {
    Q_OBJECT
private slots:
    // The marks at the middles of the edges, 1/32 of the width or height long; from the
    // centre, the hands to the ends their tables pick: sixteenths of each edge for the
    // second and the minute, quarters for the hour. Each row sets the hour, minute and
    // second to the same value, and the hour to 23 beyond it.
    void marksAndHands_data() {
        // clang-format off
        AddRows({"value", "sixty", "hour"}, {
            "0|3607.5 0|3607.5 0", "1|4058.4375 0|5411.25 0", "2|4509.375 0|7215 1346.25",
            "4|5411.25 0|7215 4038.75", "5|5862.1875 0|5411.25 5385", "7|6764.0625 0|1803.75 5385",
            "8|7215 336.5625|0 4038.75", "10|7215 1009.6875|0 1346.25", "11|7215 1346.25|1803.75 0",
            "13|7215 2019.375|5411.25 0", "14|7215 2355.9375|7215 1346.25", "17|7215 3365.625|5411.25 5385",
            "20|7215 4375.3125|0 4038.75", "22|7215 5048.4375|0 1346.25", "23|6764.0625 5385|1803.75 0",
            "37|450.9375 5385|1803.75 0", "38|0 5048.4375|1803.75 0", "52|0 336.5625|1803.75 0",
            "53|450.9375 0|1803.75 0", "59|3156.5625 0|1803.75 0"});
        // clang-format on
    }
    void marksAndHands() {
        QFETCH(QString, value);
        QFETCH(QString, sixty);
        QFETCH(QString, hour);
        Program p;
        p.at = {2026, 12, 5, std::min(value.toInt(), 23), value.toInt(), value.toInt()};
        p.tick();
        QCOMPARE(ends(p, face::Line::Line9), "3607.5 168.28125 3607.5 0");
        QCOMPARE(ends(p, face::Line::Line10), "6989.53125 2692.5 7215 2692.5");
        QCOMPARE(ends(p, face::Line::Line11), "3607.5 5216.71875 3607.5 5385");
        QCOMPARE(ends(p, face::Line::Line12), "0 2692.5 225.46875 2692.5");
        QCOMPARE(ends(p, face::Line::Line1), "3607.5 2692.5 " + sixty);
        QCOMPARE(ends(p, face::Line::Line2), "3607.5 2692.5 " + sixty);
        QCOMPARE(ends(p, face::Line::Line3), "3607.5 2692.5 " + hour);
    }

    // The readout without leading zeros; the title with the short date and the long time,
    // the date alone at midnight.
    void readoutAndTitle_data() {
        // clang-format off
        AddRows({"time", "readout", "title"}, {
            "21:56:38|21:56:38|2026/12/05 21:56:38", "9:05:03|9:5:3|2026/12/05 9:05:03",
            "0:00:00|0:0:0|2026/12/05", "0:00:01|0:0:1|2026/12/05 0:00:01"});
        // clang-format on
    }
    void readoutAndTitle() {
        QFETCH(QString, time);
        QFETCH(QString, readout);
        QFETCH(QString, title);
        Program p;
        const QTime t = QTime::fromString(time, "h:mm:ss");
        p.at = {2026, 12, 5, t.hour(), t.minute(), t.second()};
        p.tick();
        QCOMPARE(p.main().dial().label1().text(), readout);
        QCOMPARE(p.main().windowTitle(), title + "     [Hozel] Ver8.1[win8.1]");
    }
};

QTEST_MAIN(TestFace)
#include "tst_face.moc"
