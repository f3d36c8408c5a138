#include "toolkit/qt/run.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    // The clock takes no command-line options: only the program name reaches the toolkit.
    int toolkitArgc = argc > 0 ? 1 : 0;
    QApplication app(toolkitArgc, argv);
    QApplication::setApplicationName(QStringLiteral("alarmclock"));
    // Names the launcher entry, so that the desktop shows the installed icon for the window.
    QApplication::setDesktopFileName(QStringLiteral(ALARMCLOCK_APP_ID));
    return toolkit::qt::runProgram();
}
