// Prints "ready", then "bell <monotonic seconds>" for every bell the X server of DISPLAY
// rings, until killed.
#include <X11/XKBlib.h>

#include <cstdio>
#include <ctime>

int main() {
    int opcode = 0, eventBase = 0, errorBase = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    Display* display = XOpenDisplay(nullptr);
    if (!display || !XkbQueryExtension(display, &opcode, &eventBase, &errorBase, &major, &minor) ||
        !XkbSelectEvents(display, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask))
        return 1;
    XSync(display, False);
    std::printf("ready\n");
    for (XEvent event{};; XNextEvent(display, &event)) {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        if (event.type == eventBase &&
            reinterpret_cast<XkbEvent*>(&event)->any.xkb_type == XkbBellNotify)
            std::printf("bell %ld.%06ld\n", long(now.tv_sec), now.tv_nsec / 1000);
        std::fflush(stdout);
    }
}
