#include "engine/run_time_error.h"
#include "face/dial.h"
#include "fakes.h"

#include <QTest>

#include <limits>

using engine::RunTimeError;
using facetest::FixedClock;
using facetest::Log;
using facetest::RecordingSurface;

Q_DECLARE_METATYPE(RunTimeError::Kind)

namespace {

constexpr float W = 7215, H = 5385;

struct Drawn {
    Log log;
    RecordingSurface surface;
    FixedClock clock;

    Drawn(float width, float height, int hour, int minute, int second)
        : surface(log, width, height)
        , clock(log, {2026, 12, 5, hour, minute, second}) {}

    double at(const char* line, const char* end) const {
        return surface.ends.at(std::string(line) + '.' + end);
    }
};

} // namespace

class HandsTest : public QObject {
    Q_OBJECT

private slots:
    void secondAndMinute_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::newRow("0") << 0 << 3607.5f << 0.f;
        QTest::newRow("7") << 7 << 6764.0625f << 0.f;
        QTest::newRow("8, round the corner") << 8 << W << 336.5625f;
        QTest::newRow("15") << 15 << W << 2692.5f;
        QTest::newRow("22") << 22 << W << 5048.4375f;
        QTest::newRow("23, round the corner") << 23 << 6764.0625f << H;
        QTest::newRow("30") << 30 << 3607.5f << H;
        QTest::newRow("37") << 37 << 450.9375f << H;
        QTest::newRow("38, round the corner") << 38 << 0.f << 5048.4375f;
        QTest::newRow("45") << 45 << 0.f << 2692.5f;
        QTest::newRow("52") << 52 << 0.f << 336.5625f;
        QTest::newRow("53, round the corner") << 53 << 450.9375f << 0.f;
        QTest::newRow("59") << 59 << 3156.5625f << 0.f;
    }

    void secondAndMinute() {
        QFETCH(int, value);
        QFETCH(float, x);
        QFETCH(float, y);
        Drawn drawn(W, H, 7, value, value);

        face::DrawHands(drawn.surface, drawn.clock);

        for (const char* line : {"Line1", "Line2"}) {
            QCOMPARE(drawn.at(line, "X1"), 3607.5);
            QCOMPARE(drawn.at(line, "Y1"), 2692.5);
            QCOMPARE(drawn.at(line, "X2"), double(x));
            QCOMPARE(drawn.at(line, "Y2"), double(y));
        }
    }

    void hour_data() {
        QTest::addColumn<int>("hour");
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::newRow("0") << 0 << 3607.5f << 0.f;
        QTest::newRow("1") << 1 << 5411.25f << 0.f;
        QTest::newRow("2, round the corner") << 2 << W << 1346.25f;
        QTest::newRow("3") << 3 << W << 2692.5f;
        QTest::newRow("5, round the corner") << 5 << 5411.25f << H;
        QTest::newRow("6") << 6 << 3607.5f << H;
        QTest::newRow("8, round the corner") << 8 << 0.f << 4038.75f;
        QTest::newRow("9") << 9 << 0.f << 2692.5f;
        QTest::newRow("11, round the corner") << 11 << 1803.75f << 0.f;
    }

    // Hour v and hour v + 12 share a position.
    void hour() {
        QFETCH(int, hour);
        QFETCH(float, x);
        QFETCH(float, y);
        for (const int h : {hour, hour + 12}) {
            Drawn drawn(W, H, h, 0, 0);
            face::DrawHands(drawn.surface, drawn.clock);
            QCOMPARE(drawn.at("Line3", "X1"), 3607.5);
            QCOMPARE(drawn.at("Line3", "Y1"), 2692.5);
            QCOMPARE(drawn.at("Line3", "X2"), double(x));
            QCOMPARE(drawn.at("Line3", "Y2"), double(y));
        }
    }

    void zeroSizeGivesZeroOnThatAxis_data() {
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<QString>("zeroAxis");
        QTest::addColumn<int>("value");
        for (const int v : {0, 10, 30, 40, 59}) {
            QTest::addRow("zero width, %d", v) << 0.f << H << "X" << v;
            QTest::addRow("zero height, %d", v) << W << 0.f << "Y" << v;
        }
    }

    void zeroSizeGivesZeroOnThatAxis() {
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(QString, zeroAxis);
        QFETCH(int, value);
        Drawn drawn(width, height, value % 24, value, value);

        face::DrawHands(drawn.surface, drawn.clock);

        QCOMPARE(drawn.surface.ends.size(), 12u);
        for (const auto& [coordinate, value] : drawn.surface.ends) {
            if (QString::fromStdString(coordinate).section('.', 1).startsWith(zeroAxis))
                QVERIFY2(value == 0.f, coordinate.c_str());
        }
    }

    void readsEachSizeAndTheClockOncePerUse() {
        Drawn drawn(W, H, 5, 40, 10);

        face::DrawHands(drawn.surface, drawn.clock);

        const Log expected{"W",        "Line1.X1", "H",        "Line1.Y1", "second",   "W",
                           "Line1.X2", "H",        "Line1.Y2", "W",        "Line2.X1", "H",
                           "Line2.Y1", "minute",   "Line2.X2", "H",        "Line2.Y2", "W",
                           "Line3.X1", "H",        "Line3.Y1", "hour",     "W",        "Line3.X2",
                           "H",        "Line3.Y2"};
        QCOMPARE(drawn.log, expected);
    }

    void stopsAtTheFault_data() {
        constexpr float inf = std::numeric_limits<float>::infinity();
        constexpr float nan = std::numeric_limits<float>::quiet_NaN();
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<int>("readsBeforeChange");
        QTest::addColumn<float>("changedSize");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("hour");
        QTest::addColumn<RunTimeError::Kind>("kind");
        QTest::addColumn<int>("assigned");

        const auto overflow = RunTimeError::Kind::Overflow;
        const auto invalid = RunTimeError::Kind::InvalidOperation;
        const int never = 1000;
        QTest::newRow("infinite width") << inf << H << never << 0.f << 3 << 0 << overflow << 0;
        QTest::newRow("NaN height") << W << nan << never << 0.f << 3 << 0 << invalid << 1;
        QTest::newRow("infinite unit") << W << H << 2 << inf << 3 << 0 << overflow << 2;
        QTest::newRow("NaN on the minute hand") << W << H << 4 << nan << 3 << 0 << invalid << 5;
        QTest::newRow("second 61") << W << H << never << 0.f << 61 << 0 << invalid << 2;
        QTest::newRow("second -1") << W << H << never << 0.f << -1 << 0 << invalid << 2;
        QTest::newRow("hour 24") << W << H << never << 0.f << 3 << 24 << invalid << 10;
    }

    void stopsAtTheFault() {
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(int, readsBeforeChange);
        QFETCH(float, changedSize);
        QFETCH(int, second);
        QFETCH(int, hour);
        QFETCH(RunTimeError::Kind, kind);
        QFETCH(int, assigned);
        Drawn drawn(width, height, hour, second, second);
        drawn.surface.changeSizeAtRead(readsBeforeChange, changedSize);

        facetest::expectFault([&] { face::DrawHands(drawn.surface, drawn.clock); }, drawn.surface,
                              kind, assigned);
    }
};

QTEST_APPLESS_MAIN(HandsTest)
#include "tst_face_hands.moc"
