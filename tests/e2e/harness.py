# The real program on real desktop parts, looked at and driven from outside: an X server
# (Xvfb, with or without a window manager) or a Wayland compositor (weston, headless), a
# private session bus that starts the accessibility bus, a private sound server whose
# silent sink is recorded, a listener for X bells, and a faked wall clock. Every wait
# polls until a deadline; times are seconds on time.monotonic().

import array
import ctypes
import os
import subprocess
import tempfile
import threading
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402
from Xlib import X, XK, Xatom, display as xdisplay, protocol  # noqa: E402
from Xlib.ext import xtest  # noqa: E402

MAIN_TITLE, RATE = "[Hozel] Ver8.1[win8.1]", 48000
FAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
REGISTRAR = "com.canonical.AppMenu.Registrar"


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def wait_for(look, timeout=10.0, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        GLib.MainContext.default().iteration(False)  # delivers accessibility events
        try:
            if value := look():
                return value
        except GLib.Error:  # the program is busy or an object went away: not yet
            pass
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out waiting for {what}")
        time.sleep(0.02)


class XSession:
    """A private X server (Xvfb) and the processes started beside it, all ended with it."""

    def __init__(self, screen="1280x1024"):
        self.procs, self.tmp, self.screen = [], tempfile.mkdtemp(), screen
        self.env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "DBUS_"))}
        self.env.update(
            XDG_RUNTIME_DIR=self.tmp,
            HOME=self.tmp,
            LANG="ja_JP.UTF-8",
            LC_ALL="ja_JP.UTF-8",
            TZ="Asia/Tokyo",
        )

    def spawn(self, *command, **options):
        self.procs.append(
            subprocess.Popen(
                command,
                env=options.pop("env", self.env),
                stderr=options.pop("stderr", subprocess.DEVNULL),
                preexec_fn=lambda: ctypes.CDLL(None).prctl(1, 15),
                **options,
            )
        )  # ends with the test: PR_SET_PDEATHSIG
        return self.procs[-1]

    def __enter__(self):
        read, write = os.pipe()
        self.spawn(
            "Xvfb",
            "-displayfd",
            str(write),
            "-nolisten",
            "tcp",
            "-screen",
            "0",
            self.screen + "x24",
            pass_fds=[write],
        )
        self.env["DISPLAY"] = ":" + os.fdopen(read).readline().strip()
        self.x = xdisplay.Display(self.env["DISPLAY"])
        return self

    def __exit__(self, *exc):
        for proc in self.procs[::-1]:
            proc.terminate()
            proc.wait()
        subprocess.run(["rm", "-rf", self.tmp])

    def key(self, *names):  # real key events: the keys pressed in turn, released in reverse
        codes = [self.x.keysym_to_keycode(XK.string_to_keysym(name)) for name in names]
        for event, order in ((X.KeyPress, codes), (X.KeyRelease, codes[::-1])):
            for code in order:
                xtest.fake_input(self.x, event, code)
        self.x.sync()

    def pixels(self, left, top, width, height):  # what the screen shows: rows of (r, g, b)
        raw = self.x.screen().root.get_image(left, top, width, height, X.ZPixmap, 0xFFFFFFFF).data
        return [
            [(raw[i + 2], raw[i + 1], raw[i]) for i in range(row, row + width * 4, 4)]
            for row in range(0, width * height * 4, width * 4)
        ]


class Session(XSession):
    def __init__(
        self,
        platform="x11",
        wm=None,
        sound=True,
        fake_time=None,
        global_menu=False,
        zone=None,
        tz=None,
        screen="1280x1024",
        dpi=None,
    ):
        super().__init__(screen)
        self.events, self.onsets = [], []
        self.env.update(PULSE_SERVER=f"unix:{self.tmp}/pa")
        self.options = platform, wm, sound, fake_time, global_menu, dpi
        self.command = [os.environ["CLOCK_PROGRAM"]]
        if zone:  # the zone is /etc/localtime, in a mount namespace of its own; TZ names it or not
            self.env.update(TZ=tz) if tz else self.env.pop("TZ")
            self.command[:0] = [
                "unshare",
                "-m",
                "sh",
                "-c",
                'mount --bind "$0" /etc/localtime ' '&& exec "$1"',
                f"/usr/share/zoneinfo/{zone}",
            ]

    def __enter__(self):
        super().__enter__()
        platform, wm, sound, fake_time, global_menu, dpi = self.options
        if dpi:  # a scaled screen, as desktops set it in the X resources
            self.x.screen().root.change_property(
                self.x.intern_atom("RESOURCE_MANAGER"),
                Xatom.STRING,
                8,
                f"Xft.dpi:\t{dpi}\n".encode(),
            )
            self.x.flush()
        bus = self.spawn(
            "dbus-daemon",
            "--session",
            "--nofork",
            "--print-address=1",
            stdout=subprocess.PIPE,
            text=True,
        )
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.env[
            "DBUS_SESSION_BUS_ADDRESS"
        ] = bus.stdout.readline().strip()
        if wm:
            self.spawn(*wm.split(), stdout=subprocess.DEVNULL)
            # Ready once it frames a new window: a window manager announces itself before it
            # has read its settings, and windows mapped until then are not given the focus.
            x_screen = self.x.screen()
            probe = x_screen.root.create_window(0, 0, 10, 10, 0, x_screen.root_depth)
            probe.map()
            wait_for(
                lambda: probe.get_full_property(self.x.intern_atom("_NET_FRAME_EXTENTS"), 0),
                20,
                "the window manager",
            )
            probe.destroy()
            self.x.flush()
        if platform == "wayland":  # the X server stays, as Xwayland would, for the X bell
            self.spawn(
                "weston",
                "--backend=headless-backend.so",
                "--socket=wl",
                "--idle-time=0",
                stdout=subprocess.DEVNULL,
            )
            wait_for(lambda: os.path.exists(f"{self.tmp}/wl.lock"), what="weston")
        Atspi.init()  # binds this process to the session's bus, once
        Atspi.set_timeout(20000, 20000)  # the chime holds the program for seconds
        if global_menu:  # a desktop with a global menu bar, which would take the window's menu
            owned = []
            Gio.bus_own_name(
                Gio.BusType.SESSION, REGISTRAR, 0, None, lambda *_: owned.append(1), None
            )
            wait_for(lambda: owned, what=REGISTRAR)
        if sound:  # the test's ear: the sound server's sink, or else the X server's bells
            self.start_sound_server()
        elif listener := os.environ.get("BELL_LISTENER"):
            bells = self.spawn(listener, stdout=subprocess.PIPE, text=True)
            bells.stdout.readline()  # ready
            threading.Thread(
                target=lambda: self.onsets.extend(float(line.split()[1]) for line in bells.stdout),
                daemon=True,
            ).start()
        env = dict(
            self.env,
            QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
            WAYLAND_DISPLAY="wl",
            QT_QPA_PLATFORM="wayland" if platform == "wayland" else "xcb",
        )
        if fake_time:
            env.update(
                LD_PRELOAD=FAKETIME,
                FAKETIME="@" + fake_time,
                FAKETIME_NO_CACHE="1",
                FAKETIME_DONT_FAKE_MONOTONIC="1",
            )
        self.program = self.spawn(
            *self.command, env=env, stderr=None
        )  # its faults in the test's log
        desktop = Atspi.get_desktop(0)
        self.app = wait_for(
            lambda: next(
                (
                    a
                    for a in map(desktop.get_child_at_index, range(desktop.get_child_count()))
                    if a and a.get_name() == "alarmclock"
                ),
                None,
            ),
            20,
            "the program",
        )
        return self

    def set_zone(self, zone):  # what changing the time zone in the desktop's settings does
        subprocess.run(
            [
                "nsenter",
                f"--mount=/proc/{self.program.pid}/ns/mnt",
                "mount",
                "--bind",
                f"/usr/share/zoneinfo/{zone}",
                "/etc/localtime",
            ],
            check=True,
        )

    # -- sound: a server whose silent sink is recorded, and the X server's bells ---------
    def start_sound_server(self):
        self.sound_server = self.spawn(
            "pulseaudio",
            "--daemonize=no",
            "--exit-idle-time=-1",
            "-n",
            "-F",
            "/dev/null",
            f"--load=module-null-sink sink_name=rec rate={RATE} norewinds=1",
            "--use-pid-file=no",
            f"--load=module-native-protocol-unix socket={self.tmp}/pa auth-anonymous=1",
        )
        wait_for(lambda: os.path.exists(f"{self.tmp}/pa"), 15, "the sound server")
        recorder = self.spawn(
            "parec",
            "-d",
            "rec.monitor",
            "--raw",
            "--channels=1",
            f"--rate={RATE}",
            "--latency-msec=5",
            stdout=subprocess.PIPE,
        )
        threading.Thread(target=self._onsets, args=(recorder,), daemon=True).start()

    def restart_sound_server(self):  # down for a little over a second
        self.sound_server.terminate()
        self.sound_server.wait()
        time.sleep(1.3)
        self.start_sound_server()

    def _onsets(self, recorder):  # the first loud millisecond after 20 quiet ones
        # Times come from the samples' place in the stream, which the silent sink fills in
        # real time: a busy machine may hand the recording over late, but not shifted.
        quiet, start, read = 20, None, 0
        while chunk := recorder.stdout.read(960):
            samples = array.array("h", chunk)
            start = start or time.monotonic() - len(samples) / RATE
            for ms in range(0, len(samples), RATE // 1000):
                loud = max(map(abs, samples[ms : ms + RATE // 1000])) > 2000
                if loud and quiet >= 20:
                    self.onsets.append(start + (read + ms) / RATE)
                quiet = 0 if loud else quiet + 1
            read += len(samples)

    def sounds(self, since, count, timeout):
        return wait_for(
            lambda: (lambda s: s[:count] if len(s) >= count else None)(
                [t for t in self.onsets if t > since]
            ),
            timeout,
            f"{count} sounds",
        )

    # -- what a screen reader sees and does ---------------------------------------------
    def find(self, name, role=None, node=None):  # the first showing match, depth first
        def look(node):
            for child in map(node.get_child_at_index, range(node.get_child_count())):
                if (
                    name in child.get_name()
                    and role in (None, child.get_role_name())
                    and child.get_state_set().contains(Atspi.StateType.SHOWING)
                ):
                    return child
                if found := look(child):
                    return found

        return wait_for(lambda: look(node or self.app), what=f"{role or 'anything'} named {name}")

    def press(self, name, role=None):
        moment = time.monotonic()
        self.find(name, role).get_action_iface().do_action(0)
        return moment

    def type_into(self, field, text):
        self.find(field, "text").get_editable_text_iface().set_text_contents(text)

    def listen(self, event):
        self.listener = Atspi.EventListener.new(
            lambda e: self.events.append(
                (e.type, e.source.get_role_name(), e.source.get_name(), e.detail1)
            )
        )
        self.listener.register(event)

    # -- the X server as the window manager sees it -------------------------------------
    def x_window(self, title, node=None):
        for child in (node or self.x.screen().root).query_tree().children:
            name = child.get_full_property(self.x.intern_atom("_NET_WM_NAME"), 0)
            if name and title in name.value.decode() or (child := self.x_window(title, child)):
                return child

    def frame(self, title):  # x, y, width, height of the frame as the user sees it
        window = wait_for(lambda: self.x_window(title), what=title)
        g, at = window.get_geometry(), window.translate_coords(self.x.screen().root, 0, 0)
        extents = window.get_full_property(self.x.intern_atom("_NET_FRAME_EXTENTS"), 0)
        left, right, top, bottom = extents.value if extents else (0, 0, 0, 0)
        return -at.x - left, -at.y - top, g.width + left + right, g.height + top + bottom

    def stacking(self):  # the clients from bottom to top
        return (
            self.x.screen()
            .root.get_full_property(self.x.intern_atom("_NET_CLIENT_LIST_STACKING"), Xatom.WINDOW)
            .value.tolist()
        )

    def active(self):  # none until the window manager has set it
        active = self.x.screen().root.get_full_property(
            self.x.intern_atom("_NET_ACTIVE_WINDOW"), Xatom.WINDOW
        )
        return active.value[0] if active else 0

    def wm_state(self, title):
        state = self.x_window(title).get_full_property(self.x.intern_atom("_NET_WM_STATE"), 0)
        return [self.x.get_atom_name(a) for a in (state.value if state else [])]

    def focus_elsewhere(self):  # another program's window takes the focus
        screen = self.x.screen()
        window = screen.root.create_window(0, 0, 200, 100, 0, screen.root_depth)
        window.map()
        wait_for(lambda: self.active() == window.id, what="focus")

    def close_with_frame(self, title):  # what the close box of the frame does
        window, atom = self.x_window(title), self.x.intern_atom
        window.send_event(
            protocol.event.ClientMessage(
                window=window,
                client_type=atom("WM_PROTOCOLS"),
                data=(32, [atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0]),
            )
        )
        self.x.flush()
