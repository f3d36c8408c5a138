#include "face/clock_face.h"
#include "face/title.h"
#include "fakes.h"

#include <QTest>

using facetest::FixedClock;
using facetest::Log;
using facetest::RecordingSurface;

namespace {
const QString suffix = "     [Hozel] Ver8.1[win8.1]";
}

class TitleTest : public QObject {
    Q_OBJECT

private slots:
    void text_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("expected");

        const QLocale ja(QLocale::Japanese, QLocale::Japan);
        const QLocale en(QLocale::English, QLocale::UnitedStates);
        const QLocale de(QLocale::German, QLocale::Germany);
        QTest::newRow("ja") << ja << 21 << 56 << 38 << "2026/12/05 21:56:38" + suffix;
        QTest::newRow("ja, midnight") << ja << 0 << 0 << 0 << "2026/12/05" + suffix;
        QTest::newRow("ja, a second after midnight")
            << ja << 0 << 0 << 1 << "2026/12/05 0:00:01" + suffix;
        QTest::newRow("en_US") << en << 21 << 56 << 38 << "12/5/26 9:56:38 PM" + suffix;
        QTest::newRow("en_US, midnight") << en << 0 << 0 << 0 << "12/5/26" + suffix;
        QTest::newRow("de_DE") << de << 9 << 5 << 3 << "05.12.26 09:05:03" + suffix;
    }

    void text() {
        QFETCH(QLocale, locale);
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(int, second);
        QFETCH(QString, expected);
        const engine::LocalDateTime when{2026, 12, 5, hour, minute, second};

        QCOMPARE(QString::fromStdString(face::TitleFormat(locale).text(when)), expected);
        QCOMPARE(QString::fromStdString(face::titleText(when, locale)), expected);
    }

    void longTimeWithoutZone_data() {
        QTest::addColumn<QString>("longFormat");
        QTest::addColumn<QString>("shortFormat");
        QTest::addColumn<QString>("expected");
        QTest::newRow("fields in words") << "H時mm分ss秒 t"
                                         << "H:mm"
                                         << "H:mm:ss";
        QTest::newRow("am/pm after") << "h:mm:ss AP t"
                                     << "h:mm AP"
                                     << "h:mm:ss AP";
        QTest::newRow("am/pm before") << "AP h시 m분 s초 t"
                                      << "AP h:mm"
                                      << "AP h:mm:ss";
        QTest::newRow("zone first") << "t HH:mm:ss"
                                    << "HH:mm"
                                    << "HH:mm:ss";
        QTest::newRow("short has seconds") << "HH:mm:ss t"
                                           << "HH:mm:ss"
                                           << "HH:mm:ss";
        QTest::newRow("user's own, no zone") << "HH'h'mm:ss"
                                             << "H:mm"
                                             << "HH'h'mm:ss";
        QTest::newRow("quoted separator: zone stripped") << "H 'h' mm 'et' ss (t)"
                                                         << "H 'h' mm"
                                                         << "H 'h' mm 'et' ss";
        QTest::newRow("no minutes in short form") << "HH:mm:ss tttt"
                                                  << "HH"
                                                  << "HH:mm:ss";
    }

    void longTimeWithoutZone() {
        QFETCH(QString, longFormat);
        QFETCH(QString, shortFormat);
        QFETCH(QString, expected);
        QCOMPARE(face::longTimeFormat(longFormat, shortFormat), expected);
    }

    void showTitleReadsTheClockOnce() {
        Log log;
        RecordingSurface surface(log, 7215, 5385);
        FixedClock clock(log, {2026, 12, 5, 21, 56, 38});
        face::ClockFace clockFace(surface, clock, QLocale(QLocale::Japanese, QLocale::Japan));

        clockFace.ShowTitle();

        QCOMPARE(log, Log{"now"});
        QCOMPARE(QString::fromStdString(surface.title), "2026/12/05 21:56:38" + suffix);
    }
};

QTEST_APPLESS_MAIN(TitleTest)
#include "tst_face_title.moc"
