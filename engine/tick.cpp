#include "engine/tick.h"

#include "engine/alarms.h"

namespace engine {

namespace {

FieldTexts readFieldTexts(Dialogs& dialogs) {
    FieldTexts texts;
    texts.intervalMinutes = dialogs.fieldText(Field::Form2_Text3);
    texts.intervalSeconds = dialogs.fieldText(Field::Form2_Text1);
    constexpr Field bellFields[] = {Field::Form4_Text1, Field::Form4_Text2, Field::Form4_Text3,
                                    Field::Form4_Text4, Field::Form4_Text5, Field::Form4_Text6};
    for (std::size_t i = 0; i < texts.bells.size(); ++i) {
        texts.bells[i] = dialogs.fieldText(bellFields[i]);
    }
    return texts;
}

// Each step is noted as it starts, so that the one that throws is known.
void tick(AlarmState& state, TickPorts& ports, std::string_view& step) {
    step = "step 1 (field texts)";
    const FieldTexts texts = readFieldTexts(ports.dialogs);
    step = "step 2 (digital readout)";
    ports.face.ShowDigitalTime();
    step = "step 3 (time alarm setting)";
    const std::optional<int> minute = prepareTimeAlarm(state, ports.dialogs, ports.clock);
    step = "step 4 (bell times)";
    const BellTimes bells = bellTimesFrom(texts);
    step = "step 5 (dial marks)";
    ports.face.DrawDialMarks();
    step = "step 6 (interval length)";
    const AlarmTime interval = intervalLengthFrom(texts);
    step = "step 7 (presentation alarm)";
    runPresentationAlarm(state, bells, ports.clock, ports.beeper);
    step = "step 8 (interval alarm)";
    runIntervalAlarm(state, interval, ports.clock, ports.beeper);
    step = "step 9 (time alarm)";
    fireTimeAlarm(state, minute, ports.clock, ports.dialogs, ports.beeper, ports.requests,
                  ports.chime);
    step = "step 10 (hands)";
    ports.face.DrawHands();
    step = "step 11 (title)";
    ports.face.ShowTitle();
}

} // namespace

void runTickSteps(AlarmState& state, TickPorts& ports) {
    std::string_view step;
    tick(state, ports, step);
}

void runTick(AlarmState& state, TickPorts& ports, FaultLog& faults, FaultLog::Time now) noexcept {
    std::string_view step;
    try {
        tick(state, ports, step);
    } catch (...) {
        faults.caught("Timer1_Timer", step, now);
    }
    faults.flush(now);
}

} // namespace engine
