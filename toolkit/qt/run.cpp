#include "toolkit/qt/run.h"

#include "platform/linux/system_clock.h"
#include "platform/linux/system_sink.h"
#include "toolkit/qt/toolkit.h"
#include "ui/program.h"

#include <QApplication>

namespace toolkit::qt {

int runProgram() {
    // Closing a dialog never ends the program; only the exit command and closing the
    // main window do.
    QApplication::setQuitOnLastWindowClosed(false);
    // The commands stay in the clock window's own menu bar, also on desktops that would
    // take menus into a global bar of their own.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);

    platform::SystemClock clock;
    platform::QueuedBeeper beeper(platform::makeSystemSink());
    QtToolkit toolkit;
    int code = 0;
    {
        ui::Program program(toolkit, clock, beeper);
        code = QApplication::exec();
    }
    // Dialogs closed by the user are deleted by the event loop, which has ended.
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return code;
}

} // namespace toolkit::qt
