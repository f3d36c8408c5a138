#pragma once

// What assistive technologies are told about the windows beyond what Qt's widgets tell them
// themselves: the dialogs are dialogs, and a notice is a notification that reads its caption.
// And how they are answered while the chime holds the thread.

#include <QObject>
#include <QPointer>

namespace toolkit::qt {

// Once, before the first window is made.
void installAccessibility();

// Answers the calls that have come over the accessibility bus since the last time, and
// delivers nothing else: no input, no timer, no other queued call. Nothing where no
// assistive technology is connected.
class AssistiveAnswers {
public:
    void answer();

private:
    // Found once the bus is connected; asked for again while they are not.
    QPointer<QObject> accessible_;
    QPointer<QObject> cache_;
};

} // namespace toolkit::qt
