#pragma once

// What the engine needs from the world outside it. The program implements these with
// the toolkit; tests implement them with a simulated clock, a recording beeper and
// plain strings.

#include <string>
#include <string_view>

namespace engine {

struct LocalDateTime {
    int year = 0;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;  // 0..23
    int minute = 0;
    int second = 0;

    friend bool operator==(const LocalDateTime&, const LocalDateTime&) = default;
};

// The local wall clock. Every call is a fresh reading: a step that needs the hour and
// then the minute makes two readings, and the clock may move between them.
class WallClock {
public:
    virtual ~WallClock() = default;
    virtual int hour() = 0;   // 0..23
    virtual int minute() = 0; // 0..59
    virtual int second() = 0; // 0..59
    virtual LocalDateTime now() = 0;
};

// One short system sound per call; the call returns at once.
class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
    // Drops the beeps asked for that have not started to sound. A beeper that sounds each
    // beep before beep() returns has none.
    virtual void hush() {}
};

// The input fields the tick reads, named after their dialog and control.
enum class Field {
    Form1_Text1, // alarm hour
    Form1_Text2, // alarm minute
    Form2_Text3, // interval minutes
    Form2_Text1, // interval seconds
    Form4_Text1, // bell 1 minutes
    Form4_Text2, // bell 1 seconds
    Form4_Text3, // bell 2 minutes
    Form4_Text4, // bell 2 seconds
    Form4_Text5, // bell 3 minutes
    Form4_Text6, // bell 3 seconds
};

// What the user-interface thread still does while the chime holds it, between its counted
// steps: it answers what assistive technologies have asked of the windows meanwhile, so that a
// screen reader reads them and hears the notice while the chime plays. Nothing else runs: no
// handler, no tick, no input.
class AssistiveRequests {
public:
    virtual ~AssistiveRequests() = default;
    virtual void answer() = 0;
};

// The dialogs as the tick sees them. Reading a field of a dialog that does not exist
// creates that dialog, hidden, with empty fields: that is the implementation's business.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual std::string fieldText(Field field) = 0;       // UTF-8
    virtual void setNotice(std::string_view caption) = 0; // Form1.Label4
};

// The four clock-face steps of the tick. Each may throw RunTimeError.
class FaceSteps {
public:
    virtual ~FaceSteps() = default;
    virtual void ShowDigitalTime() = 0;
    virtual void DrawDialMarks() = 0;
    virtual void DrawHands() = 0;
    virtual void ShowTitle() = 0;
};

} // namespace engine
