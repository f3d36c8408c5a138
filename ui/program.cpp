#include "ui/program.h"

#include "engine/alarm_state.h"
#include "ui/system_services.h"
#include "ui/windows.h"

#include <QApplication>

namespace ui {

int RunProgram() {
    // Closing a dialog never ends the program; only the exit command and closing the
    // main window do.
    QApplication::setQuitOnLastWindowClosed(false);
    // The commands stay in the clock window's own menu bar, also on desktops that would
    // take menus into a global bar of their own.
    QApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);

    SystemClock clock;
    SystemBeeper beeper;
    engine::AlarmState alarmState;
    Windows windows(alarmState, clock, beeper);
    windows.StartUp();
    return QApplication::exec();
}

} // namespace ui
