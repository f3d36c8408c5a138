#include "engine/run_time_error.h"
#include "face/dial.h"
#include "fakes.h"

#include <QTest>

#include <cfenv>
#include <cmath>
#include <limits>

using engine::RunTimeError;
using facetest::Log;
using facetest::RecordingSurface;

Q_DECLARE_METATYPE(RunTimeError::Kind)

class MarksTest : public QObject {
    Q_OBJECT

private slots:
    void positions_data() {
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QList<float>>("ends"); // X1, Y1, X2, Y2

        const float w = 7215, h = 5385;
        QTest::newRow("12 o'clock")
            << w << h << "Line9" << QList<float>{3607.5f, 168.28125f, 3607.5f, 0};
        QTest::newRow("3 o'clock")
            << w << h << "Line10" << QList<float>{6989.53125f, 2692.5f, 7215, 2692.5f};
        QTest::newRow("6 o'clock")
            << w << h << "Line11" << QList<float>{3607.5f, 5216.71875f, 3607.5f, 5385};
        QTest::newRow("9 o'clock")
            << w << h << "Line12" << QList<float>{0, 2692.5f, 225.46875f, 2692.5f};
        QTest::newRow("resized") << 1500.f << 900.f << "Line10"
                                 << QList<float>{1453.125f, 450, 1500, 450};
        QTest::newRow("zero width") << 0.f << h << "Line10" << QList<float>{0, 2692.5f, 0, 2692.5f};
        QTest::newRow("zero height")
            << w << 0.f << "Line11" << QList<float>{3607.5f, 0, 3607.5f, 0};
    }

    void positions() {
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(QString, line);
        QFETCH(QList<float>, ends);
        Log log;
        RecordingSurface surface(log, width, height);

        face::DrawDialMarks(surface);

        QCOMPARE(surface.ends.size(), 16u);
        const QStringList names{"X1", "Y1", "X2", "Y2"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(surface.ends.at((line + '.' + names[i]).toStdString()), double(ends[i]));
    }

    void readsTheSizeAfreshForEachCoordinate() {
        Log log;
        RecordingSurface surface(log, 7215, 5385);

        face::DrawDialMarks(surface);

        const Log expected{"W",         "Line9.X1",  "H",         "Line9.Y1",  "W",
                           "Line9.X2",  "Line9.Y2",  "W",         "Line10.X1", "H",
                           "Line10.Y1", "W",         "Line10.X2", "H",         "Line10.Y2",
                           "W",         "Line11.X1", "H",         "Line11.Y1", "W",
                           "Line11.X2", "H",         "Line11.Y2", "Line12.X1", "H",
                           "Line12.Y1", "W",         "Line12.X2", "H",         "Line12.Y2"};
        QCOMPARE(log, expected);
    }

    void flagsRaisedBeforeTheStepAreNoFault() {
        Log log;
        RecordingSurface surface(log, 7215, 5385);
        std::feraiseexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);

        face::DrawDialMarks(surface);

        QCOMPARE(surface.ends.size(), 16u);
    }

    void nonFiniteSizeStopsAtThatCoordinate_data() {
        constexpr float inf = std::numeric_limits<float>::infinity();
        constexpr float nan = std::numeric_limits<float>::quiet_NaN();
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<int>("readsBeforeChange");
        QTest::addColumn<float>("changedSize");
        QTest::addColumn<RunTimeError::Kind>("kind");
        QTest::addColumn<int>("assigned");

        QTest::newRow("infinite width")
            << inf << 5385.f << 1000 << 0.f << RunTimeError::Kind::Overflow << 0;
        QTest::newRow("-infinite width")
            << -inf << 5385.f << 1000 << 0.f << RunTimeError::Kind::Overflow << 0;
        QTest::newRow("NaN height")
            << 7215.f << nan << 1000 << 0.f << RunTimeError::Kind::InvalidOperation << 1;
        // The size turns infinite while the marks are drawn: Line10.X1 is W × 31 / 32.
        QTest::newRow("resized to infinity")
            << 7215.f << 5385.f << 3 << inf << RunTimeError::Kind::Overflow << 4;
        QTest::newRow("resized to NaN")
            << 7215.f << 5385.f << 8 << nan << RunTimeError::Kind::InvalidOperation << 9;
    }

    void nonFiniteSizeStopsAtThatCoordinate() {
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(int, readsBeforeChange);
        QFETCH(float, changedSize);
        QFETCH(RunTimeError::Kind, kind);
        QFETCH(int, assigned);
        Log log;
        RecordingSurface surface(log, width, height);
        surface.changeSizeAtRead(readsBeforeChange, changedSize);

        facetest::expectFault([&] { face::DrawDialMarks(surface); }, surface, kind, assigned);
    }
};

QTEST_APPLESS_MAIN(MarksTest)
#include "tst_face_marks.moc"
