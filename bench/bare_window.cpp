// The yardstick for the clock's memory and start-up time: an empty Qt window and nothing
// else. Its size is given as WIDTH HEIGHT in pixels, so that it matches the clock window.
// With a third argument "tick" a 100 ms timer runs that does nothing: the floor of the
// clock's idle CPU time, ten wake-ups a second.

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <cstring>

int main(int argc, char* argv[]) {
    const int width = argc > 2 ? std::atoi(argv[1]) : 481;
    const int height = argc > 2 ? std::atoi(argv[2]) : 359;
    const bool tick = argc > 3 && std::strcmp(argv[3], "tick") == 0;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QWidget window;
    window.resize(width, height);
    window.show();
    QTimer timer;
    if (tick) {
        QObject::connect(&timer, &QTimer::timeout, [] {});
        timer.start(100);
    }
    return QApplication::exec();
}
