/* Prints one line per X bell that the server rings on the display given by DISPLAY:
 *   bell <seconds on the monotonic clock, microseconds>
 * The first line, "ready", says that the listener is registered and no bell from then on
 * can be missed. Runs until killed. */
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <cstdio>
#include <ctime>

int main() {
    int opcode = 0, event_base = 0, error_base = 0;
    int major = XkbMajorVersion, minor = XkbMinorVersion;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "bell_listener: cannot open the display\n");
        return 1;
    }
    if (!XkbQueryExtension(display, &opcode, &event_base, &error_base, &major, &minor)) {
        std::fprintf(stderr, "bell_listener: the X server has no XKB\n");
        return 1;
    }
    if (!XkbSelectEvents(display, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask)) {
        std::fprintf(stderr, "bell_listener: cannot select bell events\n");
        return 1;
    }
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);

    for (;;) {
        XEvent event{};
        XNextEvent(display, &event);
        if (event.type != event_base)
            continue;
        const auto* xkb = reinterpret_cast<const XkbEvent*>(&event);
        if (xkb->any.xkb_type != XkbBellNotify)
            continue;
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("bell %ld.%06ld\n", static_cast<long>(now.tv_sec), now.tv_nsec / 1000);
        std::fflush(stdout);
    }
}
