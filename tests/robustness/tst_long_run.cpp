#include "../engine/rig.h"

#include <QRandomGenerator>

#include <cmath>
#include <optional>

// Forty-eight simulated hours of ticks with commands, field edits and a misbehaving wall
// clock at random times, checked tick by tick against a model of the three alarms that is
// written here from their description and shares no code with the engine.

namespace {

// What the model knows of a text: the whole text as a decimal number (nullopt when it is
// none) and its leading number (NaN beyond the range of a double).
struct Reading {
    const char* text;
    std::optional<double> decimal;
    double leading;
};

const double kBeyond = std::nan("");
// clang-format off
const Reading kTexts[] = {
    {"", {}, 0}, {"0", 0, 0}, {"1", 1, 1}, {"2", 2, 2}, {"3", 3, 3}, {"5", 5, 5}, {"10", 10, 10},
    {"11", 11, 11}, {"23", 23, 23}, {"30", 30, 30}, {"0.5", 0.5, 0.5}, {"1.5", 1.5, 1.5},
    {"2.5", 2.5, 2.5}, {"-1", -1, -1}, {" 7 ", 7, 7}, {"7時", {}, 7}, {"１０", 10, 10},
    {"abc", {}, 0}, {"-", {}, 0}, {"  ", {}, 0}, {"1e999", {}, kBeyond},
    {"99999999999", 99999999999.0, 99999999999.0}, {"&H7", {}, 7}, {"10.5", 10.5, 10.5}};
// clang-format on
constexpr int kTextCount = sizeof kTexts / sizeof kTexts[0];

// Minutes x 60 + seconds of an alarm's fields: all 0 when one is empty; none when one is
// not a number or the time is not finite.
std::optional<double> Seconds(const std::vector<const Reading*>& fields, std::size_t minutes) {
    for (const Reading* r : fields) {
        if (std::string(r->text).empty()) {
            return 0.0;
        }
    }
    for (const Reading* r : fields) {
        if (!r->decimal) {
            return std::nullopt;
        }
    }
    const double t = *fields[minutes]->decimal * 60 + *fields[minutes + 1]->decimal;
    return std::isfinite(t) ? std::optional<double>{t} : std::nullopt;
}

struct Model {
    std::array<const Reading*, 10> field; // by engine::Field
    bool armed = false, muted = false;
    bool intervalOn = false, presOn = false;
    long long intervalCount = 0, presCount = 0;
    int intervalLast = 0, presLast = 0, lastBeep = 0; // an unset second compares as 0
    int bell[3] = {0, 0, 0};
    long long runsEnded = 0, intervalBeeps = 0, chimes = 0; // what the run exercised

    explicit Model(int loadSecond)
        : lastBeep(loadSecond) {
        field.fill(&kTexts[0]);
    }

    struct Tick {
        int beeps = 0, notices = 0;
        bool chime = false;
    };

    Tick tick(int h, int m, int s) {
        int beeps = 0;
        const double hourOf = field[0]->leading, minuteOf = field[1]->leading;
        std::vector<const Reading*> bells(field.begin() + 4, field.end());
        const auto bell1 = Seconds(bells, 0), bell2 = Seconds(bells, 2);
        std::optional<double> bell3 = Seconds(bells, 4);
        if (bell3) {
            const double whole = std::nearbyint(*bell3); // halves to even
            const bool fits = whole >= -2147483648.0 && whole <= 2147483647.0;
            bell3 = fits ? std::optional<double>{whole} : std::nullopt;
        }
        const auto length = Seconds({field[2], field[3]}, 0);

        if (presOn && !muted) {
            if (s != presLast) {
                ++presCount;
                presLast = s;
            }
            if (bell1 && presCount == *bell1 && bell[0] == 0) {
                ++beeps, ++bell[0];
            }
            if (bell2 && presCount >= *bell2 && s != lastBeep && bell[1] <= 1) {
                ++beeps, ++bell[1], lastBeep = s;
            }
            if (bell3 && presCount >= *bell3 && s != lastBeep && bell[2] <= 2) {
                presOn = bell[2] != 2;
                runsEnded += presOn ? 0 : 1;
                ++beeps, ++bell[2], lastBeep = s;
            }
        }
        if (intervalOn) {
            if (s != intervalLast) {
                ++intervalCount;
                intervalLast = s;
            }
            if (length && intervalCount == *length) {
                ++beeps, ++intervalBeeps;
                intervalCount = 0;
            }
        }
        const bool fires = armed && h == hourOf && minuteOf <= m;
        chimes += fires && !muted ? 1 : 0;
        return {beeps + (fires && !muted ? 5 : 0), fires ? 1 : 0, fires && !muted};
    }

    void command(const QString& name, int s) {
        if (name == "set" || name == "start4") {
            presCount = 0, presOn = name == "start4", presLast = s, muted = false;
            bell[0] = bell[1] = bell[2] = 0;
            armed = armed || name == "set";
        } else if (name == "start2") {
            intervalCount = 0, intervalOn = true, intervalLast = s, muted = false;
        } else if (name == "off") {
            intervalOn = false, muted = true;
        }
    }
};

} // namespace

class TestLongRun : public QObject {
    Q_OBJECT
private slots:
    void fortyEightHoursBeepForBeep() {
        QRandomGenerator random(7);
        sim::Rig rig;
        rig.ms += sim::At(1, 0, 0, 0); // a day ahead, so that the clock can be set back
        Model model(47);
        const long long end = rig.ms + sim::At(2, 0, 0, 0);
        int stalledTicks = 0;
        long long ticks = 0, events = 0, modelBeeps = 0, notices = 0;
        const auto second = [&] { return int(rig.ms / 1000 % 60); };

        while (rig.ms < end) {
            if (random.bounded(600) == 0) { // about once a simulated minute
                ++events;
                const int kind = random.bounded(10);
                if (kind < 4) {
                    const int f = random.bounded(10);
                    model.field[f] = &kTexts[random.bounded(kTextCount)];
                    rig.fields[engine::Field(f)] = model.field[f]->text;
                } else if (kind < 8) {
                    const QString name = QStringList{"set", "start2", "start4", "off"}[kind - 4];
                    rig.play(name);
                    model.command(name, second());
                    modelBeeps += name == "off" ? 0 : 1;
                } else if (kind == 8) { // set back or forward, a time zone, daylight saving
                    const long long jump =
                        1000LL * (random.bounded(2) ? 3600 : random.bounded(7200));
                    rig.ms += random.bounded(2) && rig.ms > jump ? -jump : jump;
                } else {
                    stalledTicks = random.bounded(1, 40); // the same second on many ticks
                }
            }
            const std::size_t beepsBefore = rig.beeps.size(), noticesBefore = rig.notices.size();
            const Model::Tick expected =
                model.tick(int(rig.ms / 3600000 % 24), int(rig.ms / 60000 % 60), second());
            rig.tick();
            rig.log.clear();
            ++ticks;
            if (int(rig.beeps.size() - beepsBefore) != expected.beeps ||
                int(rig.notices.size() - noticesBefore) != expected.notices) {
                QFAIL(qPrintable(QString("tick at %1 ms: %2 beeps, %3 notices; model: %4, %5")
                                     .arg(rig.ms)
                                     .arg(rig.beeps.size() - beepsBefore)
                                     .arg(rig.notices.size() - noticesBefore)
                                     .arg(expected.beeps)
                                     .arg(expected.notices)));
            }
            modelBeeps += expected.beeps;
            notices += expected.notices;
            // A chime holds the thread, and the clock runs on meanwhile.
            if (stalledTicks > 0) {
                --stalledTicks;
            } else {
                rig.ms += random.bounded(50) == 0 ? 1000 + random.bounded(2000) // seconds skipped
                                                  : 100 + (expected.chime ? 2000 : 0);
            }
        }
        QCOMPARE(qint64(rig.beeps.size()), modelBeeps);
        qInfo("%lld ticks, %lld events, %lld beeps, %lld notices; %lld runs ended by bell 3, "
              "%lld interval beeps, %lld chimes",
              ticks, events, modelBeeps, notices, model.runsEnded, model.intervalBeeps,
              model.chimes);
        // The run has to exercise what it checks.
        QVERIFY(events > 1000 && notices > 100 && model.runsEnded > 20 &&
                model.intervalBeeps > 100 && model.chimes > 100);
    }
};

QTEST_APPLESS_MAIN(TestLongRun)
#include "tst_long_run.moc"
