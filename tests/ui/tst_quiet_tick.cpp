// A tick that assigns the values already shown repaints nothing; one that moves the second
// hand repaints where the hand was and where it is, not the whole dial. The title's fast
// numeric formatting writes what the locale would, in every locale Qt knows.

#ifndef Q_MOC_RUN
#include "program_fixture.h"
#endif
#include "face/title.h"
#include "ui/dial_widget.h"
#include "ui/main_form.h"

#include <QLabel>
#include <QPaintEvent>
#include <QTest>

namespace {

// The regions the dial and the readout are asked to paint.
class PaintLog final : public QObject {
public:
    QRegion dial;
    int readoutPaints = 0;
    QWidget* dialWidget = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            if (watched == dialWidget)
                dial += static_cast<QPaintEvent*>(event)->region();
            else
                ++readoutPaints;
        }
        return false;
    }
};

QPoint pixelAt(const ui::DialWidget& dial, face::Line line, int end) {
    const auto& ends = dial.line(line).ends;
    return QPointF(ends[2 * end] / 15, ends[2 * end + 1] / 15).toPoint();
}

} // namespace

class QuietTickTest : public QObject {
    Q_OBJECT

private slots:
    void aTickThatChangesNothingRepaintsNothing() {
        Program program;
        ui::MainForm& main = program.windows->mainForm();
        ui::DialWidget& dial = main.dial();
        main.Timer1_Timer();
        QApplication::processEvents();
        PaintLog log;
        log.dialWidget = &dial;
        dial.installEventFilter(&log);
        dial.label1().installEventFilter(&log);

        for (int i = 0; i < 9; ++i) {
            main.Timer1_Timer();
            QApplication::processEvents();
        }
        QVERIFY(log.dial.isEmpty());
        QCOMPARE(log.readoutPaints, 0);
        QCOMPARE(main.windowTitle().left(19), QStringLiteral("2026/12/05 10:10:40"));
    }

    void aNewSecondRepaintsTheSecondHandsOldAndNewPlaceOnly() {
        Program program;
        ui::MainForm& main = program.windows->mainForm();
        ui::DialWidget& dial = main.dial();
        main.Timer1_Timer();
        QApplication::processEvents();
        const QPoint before = pixelAt(dial, face::Line::Line1, 1);
        PaintLog log;
        log.dialWidget = &dial;
        dial.installEventFilter(&log);
        dial.label1().installEventFilter(&log);

        program.clock.at.second = 41;
        main.Timer1_Timer();
        QApplication::processEvents();
        const QPoint after = pixelAt(dial, face::Line::Line1, 1);
        QVERIFY(before != after);
        QVERIFY(log.dial.contains(before));
        QVERIFY(log.dial.contains(after));
        QVERIFY(log.dial.contains(pixelAt(dial, face::Line::Line1, 0)));
        // The other end of the dial is left alone.
        QVERIFY(!log.dial.contains(pixelAt(dial, face::Line::Line9, 1)));
        const QRect painted = log.dial.boundingRect();
        QVERIFY(painted.width() * painted.height() < dial.width() * dial.height() / 2);
        QCOMPARE(dial.label1().text(), QStringLiteral("10:10:41"));
        QVERIFY(log.readoutPaints > 0);
    }

    void theTitleReadsAsTheLocaleWritesIt() {
        const QString suffix =
            QString::fromUtf8(face::titleSuffix.data(), qsizetype(face::titleSuffix.size()));
        const engine::LocalDateTime moments[] = {
            {2026, 12, 5, 21, 56, 38}, {2026, 1, 9, 0, 0, 0},   {2026, 1, 9, 0, 0, 1},
            {2009, 10, 31, 9, 5, 3},   {1999, 7, 1, 12, 30, 0}, {999, 3, 4, 5, 6, 7},
        };
        const QList<QLocale> locales = QLocale::matchingLocales(
            QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
        QVERIFY(locales.size() > 100);
        for (const QLocale& locale : locales) {
            const face::TitleFormat format(locale);
            const QString timeFormat = face::longTimeFormat(
                locale.timeFormat(QLocale::LongFormat), locale.timeFormat(QLocale::ShortFormat));
            for (const engine::LocalDateTime& when : moments) {
                QString expected = locale.toString(QDate(when.year, when.month, when.day),
                                                   locale.dateFormat(QLocale::ShortFormat));
                if (when.hour != 0 || when.minute != 0 || when.second != 0)
                    expected += u' ' + locale.toString(QTime(when.hour, when.minute, when.second),
                                                       timeFormat);
                expected += suffix;
                QCOMPARE(QString::fromStdString(format.text(when)), expected);
            }
        }
    }
};

QTEST_MAIN(QuietTickTest)
#include "tst_quiet_tick.moc"
