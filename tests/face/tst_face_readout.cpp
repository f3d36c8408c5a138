#include "face/clock_face.h"
#include "face/readout.h"
#include "fakes.h"

#include <QTest>

using facetest::FixedClock;
using facetest::Log;
using facetest::RecordingSurface;

class ReadoutTest : public QObject {
    Q_OBJECT

private slots:
    void text_data() {
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no leading zeros") << 9 << 5 << 3 << "9:5:3";
        QTest::newRow("midnight") << 0 << 0 << 0 << "0:0:0";
        QTest::newRow("last second of the day") << 23 << 59 << 59 << "23:59:59";
        QTest::newRow("afternoon, 24-hour") << 13 << 10 << 0 << "13:10:0";
    }

    void text() {
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(int, second);
        QFETCH(QString, expected);
        QCOMPARE(QString::fromStdString(face::readoutText(hour, minute, second)), expected);
    }

    void showDigitalTimeReadsHourMinuteSecond() {
        Log log;
        RecordingSurface surface(log, 7215, 5385);
        FixedClock clock(log, {2026, 12, 5, 21, 7, 38});
        face::ClockFace clockFace(surface, clock, QLocale(QLocale::Japanese, QLocale::Japan));

        clockFace.ShowDigitalTime();

        QCOMPARE(log, (Log{"hour", "minute", "second"}));
        QCOMPARE(surface.readout, "21:7:38");
        QVERIFY(surface.title.empty());
    }
};

QTEST_APPLESS_MAIN(ReadoutTest)
#include "tst_face_readout.moc"
