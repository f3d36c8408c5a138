#include "engine/tick.h"

#include "engine/alarms.h"

namespace engine {

namespace {

FieldTexts ReadFieldTexts(Dialogs& dialogs) {
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

} // namespace

void Timer1_Timer(AlarmState& state, TickPorts& ports) {
    const FieldTexts texts = ReadFieldTexts(ports.dialogs);                                // 1
    ports.face.ShowDigitalTime();                                                          // 2
    const std::optional<int> minute = PrepareTimeAlarm(state, ports.dialogs, ports.clock); // 3
    const BellTimes bells = BellTimesFrom(texts);                                          // 4
    ports.face.DrawDialMarks();                                                            // 5
    const AlarmTime interval = IntervalLengthFrom(texts);                                  // 6
    RunPresentationAlarm(state, bells, ports.clock, ports.beeper);                         // 7
    RunIntervalAlarm(state, interval, ports.clock, ports.beeper);                          // 8
    FireTimeAlarm(state, minute, ports.clock, ports.dialogs, ports.beeper, ports.chime);   // 9
    ports.face.DrawHands();                                                                // 10
    ports.face.ShowTitle();                                                                // 11
}

} // namespace engine
