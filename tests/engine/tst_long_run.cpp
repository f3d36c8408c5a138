#include "model.h"

#include <QTest>

#include <random>

// Forty-eight simulated hours with commands, field edits and a misbehaving wall clock at
// random moments, checked tick by tick against the model.
class TestLongRun : public QObject {
    Q_OBJECT
private slots:
    void fortyEightHoursBeepForBeep() {
        struct Random final : sim::Choices {
            std::mt19937 random{7};
            int ticks = 0;
            int pick(int n) override { return std::uniform_int_distribution(0, n - 1)(random); }
            std::string text() override {
                static const QStringList texts =
                    QString("|0|1|2|3|5|10|23|30|0.5|1.5|2.5|-1| 7 |7時|１０|abc|-|  "
                            "|1e999|99999999999|&H7|60")
                        .split('|');
                return texts[pick(int(texts.size()))].toStdString();
            }
            bool done() override { return ++ticks > 48 * 36000; }
        } random;
        sim::Model model;
        QCOMPARE(QString::fromStdString(sim::RunBesideModel(random, 600, model)), QString());
        // The run has to go through what it checks.
        QVERIFY(model.notices > 100 && model.ended > 20 && model.chimes > 100 &&
                model.intervals > 100);
    }
};

QTEST_APPLESS_MAIN(TestLongRun)
#include "tst_long_run.moc"
