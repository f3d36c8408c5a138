# The real program on real desktop parts, looked at and driven from outside: an X server
# (Xvfb, with or without a window manager) or a Wayland compositor (weston, headless), a
# private session bus that starts the accessibility bus, a private sound server whose
# silent sink is recorded, the X server's bells as xkbevd hears them, and a faked wall
# clock. Every wait polls until a deadline; times are seconds on time.monotonic().

import array
import contextlib
import ctypes
import functools
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from subprocess import DEVNULL, PIPE

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, Gio, GLib  # noqa: E402
from Xlib import X, XK, Xatom, display as xdisplay  # noqa: E402
from Xlib.protocol.event import ClientMessage  # noqa: E402
from Xlib.ext import xtest  # noqa: E402

MAIN_TITLE, RATE = "[Hozel] Ver8.1[win8.1]", 48000
MENU = ["アラーム間隔設定", "発表アラーム", "アラーム時刻設定", "アラームOFF", "終了"]  # in order
FAKETIME = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
ENDED_WITH_TEST = functools.partial(ctypes.CDLL(None).prctl, 1, 15)  # PR_SET_PDEATHSIG
REGISTRAR = "com.canonical.AppMenu.Registrar"
DBUS = "dbus-daemon --session --nofork --print-address=1"
SPEECHD = "speech-dispatcher --run-single --timeout 0 --communication-method unix_socket"
PULSEAUDIO = "pulseaudio --daemonize=no --exit-idle-time=-1 -n -F /dev/null --use-pid-file=no"


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def wait_for(look, timeout=10.0, what="condition"):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        GLib.MainContext.default().iteration(False)  # delivers accessibility events
        with contextlib.suppress(GLib.Error):  # the program is busy or an object went away
            if value := look():
                return value
        time.sleep(0.02)
    raise TimeoutError(f"timed out waiting for {what}")


def children(node):  # an accessible object's children
    return map(node.get_child_at_index, range(node.get_child_count()))


# A private X server (Xvfb), a sound server whose silent sink is recorded (started on demand),
# and the processes started beside them, all ended with it.
class XSession:
    def __init__(self, screen="1280x1024"):
        self.procs, self.tmp, self.screen, self.onsets = [], tempfile.mkdtemp(), screen, []
        self.env = {k: v for k, v in os.environ.items() if not k.startswith(("QT_", "DBUS_"))}
        self.env.update(XDG_RUNTIME_DIR=self.tmp, HOME=self.tmp, PULSE_SERVER=f"unix:{self.tmp}/pa")
        self.env.update(LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8", TZ="Asia/Tokyo")

    def spawn(self, *command, **options):
        options = {"env": self.env, "stdout": DEVNULL, "stderr": DEVNULL, **options}
        self.procs.append(subprocess.Popen(command, preexec_fn=ENDED_WITH_TEST, **options))
        return self.procs[-1]

    def __enter__(self):
        read, write = os.pipe()
        xvfb = f"Xvfb -displayfd {write} -nolisten tcp -screen 0 {self.screen}x24"
        self.spawn(*xvfb.split(), pass_fds=[write])
        self.env["DISPLAY"] = ":" + os.fdopen(read).readline().strip()
        self.x = xdisplay.Display(self.env["DISPLAY"])
        return self

    def __exit__(self, *exc):
        for proc in self.procs[::-1]:
            proc.terminate()
            proc.wait()
        subprocess.run(["rm", "-rf", self.tmp])

    def prop(self, name, window=None):  # a property's value on a window or the root, or None
        found = (window or self.x.screen().root).get_full_property(self.x.intern_atom(name), 0)
        return found and found.value

    def key(self, *names):  # real key events: the keys pressed in turn, released in reverse
        codes = [self.x.keysym_to_keycode(XK.string_to_keysym(name)) for name in names]
        for event, order in ((X.KeyPress, codes), (X.KeyRelease, codes[::-1])):
            for code in order:
                xtest.fake_input(self.x, event, code)
        self.x.sync()

    def start_sound_server(self):
        sink = f"--load=module-null-sink sink_name=rec rate={RATE} norewinds=1"
        socket = f"--load=module-native-protocol-unix socket={self.tmp}/pa auth-anonymous=1"
        self.sound_server = self.spawn(*PULSEAUDIO.split(), sink, socket)
        wait_for(lambda: os.path.exists(f"{self.tmp}/pa"), 15, "the sound server")
        recorder = f"parec -d rec.monitor --raw --channels=1 --rate={RATE} --latency-msec=5"
        recorder = self.spawn(*recorder.split(), stdout=PIPE)
        threading.Thread(target=self._onsets, args=(recorder,), daemon=True).start()

    def _onsets(self, recorder):  # the first loud millisecond after 20 quiet ones
        # Times come from the samples' place in the stream, which the silent sink fills in
        # real time: a busy machine may hand the recording over late, but not shifted.
        quiet, start, ms = 20, None, 0
        while chunk := recorder.stdout.read(RATE // 1000 * 2):  # a millisecond, 16-bit samples
            start = start or time.monotonic() - 0.001
            loud = max(map(abs, array.array("h", chunk))) > 2000
            if loud and quiet >= 20:
                self.onsets.append(start + ms / 1000)
            quiet, ms = 0 if loud else quiet + 1, ms + 1


# Orca, the screen reader, on the session's desktop: a settings folder of its own, its braille
# off, its debug log kept where a test fails. It speaks through a speech-dispatcher of its own,
# whose only output module appends each utterance to a file; the test hears each as its line
# appears there, (moment, text).
class ScreenReader:
    def __init__(self, session):
        self.folder, self.heard = f"{session.tmp}/reader", []
        os.makedirs(f"{self.folder}/speech/modules")
        said = f"{self.folder}/said"
        with open(f"{self.folder}/speech/speechd.conf", "w") as conf:
            conf.write('AddModule "file" "sd_generic" "file.conf"\nDefaultModule file\n')
            conf.write('DefaultLanguage "ja"\nAudioOutputMethod "pulse"\n')
        with open(f"{self.folder}/speech/modules/file.conf", "w") as conf:
            conf.write(f"GenericExecuteSynth \"printf '%s\\\\n' \\'$DATA\\' >> {said}\"\n")
            conf.write('GenericLanguage "ja" "ja" "utf-8"\nAddVoice "ja" "MALE1" "ja"\n')
        socket = f"{self.folder}/speech.socket"
        session.spawn(*SPEECHD.split(), "-C", f"{self.folder}/speech", "-S", socket)
        session.env["SPEECHD_ADDRESS"] = f"unix_socket:{socket}"
        wait_for(lambda: os.path.exists(socket), 10, "speech-dispatcher")
        self.log = f"{self.folder}/debug.log"
        orca = (
            f"orca --replace --user-prefs {self.folder} --disable braille --debug-file {self.log}"
        )
        session.spawn(*orca.split())
        threading.Thread(target=self._listen, args=(said,), daemon=True).start()
        wait_for(lambda: self.heard, 30, "the screen reader on")

    def _listen(self, said):
        while not os.path.exists(said):
            time.sleep(0.02)
        with open(said, "rb") as lines:
            pending = b""
            while True:
                if not (chunk := lines.read()):
                    time.sleep(0.02)
                    continue
                *whole, pending = (pending + chunk).split(b"\n")
                moment = time.monotonic()
                self.heard += [(moment, line.decode(errors="replace").strip()) for line in whole]

    def hears(self, text, since, timeout=10.0):  # when it first says so after that moment
        def said():
            return next((t for t, line in self.heard if t > since and text in line), None)

        return wait_for(said, timeout, f"the screen reader to say {text}: {self.said(since)}")

    def said(self, since=0.0):  # what it has said since then
        return [line for t, line in self.heard if t > since]

    def keep_log(self):  # where the test runs, named after the scenario
        kept = f"orca-{'_'.join(sys.argv[1:]).replace(':', '_')}.log"
        shutil.copy(self.log, kept)
        print(f"the screen reader said {self.said()}; its debug log is {os.path.abspath(kept)}")


# The Linux program on a desktop made of the parts that the options name: platform ("x11" or
# "wayland"), wm (a window manager's command), sound (False: the X server's bells instead),
# screen_reader (Orca, speaking into a file), fake_time, global_menu, zone and tz, screen, dpi.
class Session(XSession):
    def __init__(self, **desktop):
        super().__init__(desktop.get("screen", "1280x1024"))
        self.desktop, self.command = desktop, [os.environ["CLOCK_PROGRAM"]]
        if zone := desktop.get("zone"):  # /etc/localtime, in a mount namespace of its own
            self.env.pop("TZ")  # unset, or as the desktop names it
            self.env |= {"TZ": desktop["tz"]} if "tz" in desktop else {}
            script = 'mount --bind "$0" /etc/localtime && exec "$1"'
            self.command[:0] = ["unshare", "-m", "sh", "-c", script, f"/usr/share/zoneinfo/{zone}"]

    def __enter__(self):
        super().__enter__()
        desktop = self.desktop
        if "dpi" in desktop:
            self.scale(desktop["dpi"])
        self.start_session_bus()
        if wm := desktop.get("wm"):
            self.start_window_manager(wm)
        if desktop.get("platform") == "wayland":  # the X server stays for the X bell
            self.spawn("weston", "--backend=headless-backend.so", "--socket=wl", "--idle-time=0")
            wait_for(lambda: os.path.exists(f"{self.tmp}/wl.lock"), what="weston")
        Atspi.init()  # binds this process to the session's bus, once
        Atspi.set_timeout(20000, 20000)  # the chime holds the program for seconds
        if desktop.get("global_menu"):
            self.own_global_menu()
        if desktop.get("sound", True) or desktop.get("screen_reader"):
            self.start_sound_server()
        if not desktop.get("sound", True):
            self.listen_to_bells()
        if desktop.get("screen_reader"):
            self.reader = ScreenReader(self)
        self.start_program()
        return self

    def __exit__(self, failed, *exc):
        if failed and hasattr(self, "reader"):
            self.reader.keep_log()
        super().__exit__(failed, *exc)

    def scale(self, dpi):  # a scaled screen, as desktops set it in the X resources
        resources = f"Xft.dpi:\t{dpi}\n".encode()
        self.x.screen().root.change_property(
            self.x.intern_atom("RESOURCE_MANAGER"), Xatom.STRING, 8, resources
        )
        self.x.flush()

    def start_session_bus(self):
        address = self.spawn(*DBUS.split(), stdout=PIPE, text=True).stdout.readline().strip()
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.env["DBUS_SESSION_BUS_ADDRESS"] = address

    def start_window_manager(self, command):
        self.spawn(*command.split())
        # Ready once it frames a new window: a window manager announces itself before it has
        # read its settings, and windows mapped until then are not given the focus.
        screen = self.x.screen()
        probe = screen.root.create_window(0, 0, 10, 10, 0, screen.root_depth)
        probe.map()
        wait_for(lambda: self.prop("_NET_FRAME_EXTENTS", probe), 20, "the window manager")
        probe.destroy()
        self.x.flush()

    def own_global_menu(self):  # a global menu bar, which would take the window's menu
        got = []
        Gio.bus_own_name(Gio.BusType.SESSION, REGISTRAR, 0, None, lambda *_: got.append(1))
        wait_for(lambda: got, what=REGISTRAR)

    def listen_to_bells(self):  # xkbevd echoes a line as each bell rings, once it has said
        with open(f"{self.tmp}/bells.cf", "w") as cf:  # that it silenced them
            cf.write('Bell() echo "bell\\n"\n')
        bells = self.spawn("stdbuf", "-oL", "xkbevd", "-cfg", cf.name, stdout=PIPE, stderr=PIPE)
        bells.stderr.readline()  # ready
        rung = (time.monotonic() for _ in bells.stdout)
        threading.Thread(target=self.onsets.extend, args=(rung,), daemon=True).start()

    def start_program(self):
        env = dict(self.env, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", FAKETIME_DONT_FAKE_MONOTONIC="1")
        wayland = self.desktop.get("platform") == "wayland"
        env.update(QT_QPA_PLATFORM="wayland" if wayland else "xcb", WAYLAND_DISPLAY="wl")
        if fake_time := self.desktop.get("fake_time"):
            env.update(LD_PRELOAD=FAKETIME, FAKETIME="@" + fake_time, FAKETIME_NO_CACHE="1")
        self.program = self.spawn(*self.command, env=env, stderr=None)  # its faults in the log

        def program():
            return [a for a in children(Atspi.get_desktop(0)) if a and a.get_name() == "alarmclock"]

        self.app = wait_for(program, 20, "the program")[0]

    def silence(self, quiet, timeout):  # once no sound has come for that long
        def heard_none():
            return not [t for t in self.onsets if t > time.monotonic() - quiet]

        wait_for(heard_none, timeout, f"{quiet} s of silence")

    def sounds(self, since, count, timeout):  # the first COUNT sounds since then
        wait_for(lambda: sum(t > since for t in self.onsets) >= count, timeout, f"{count} sounds")
        return [t for t in self.onsets if t > since][:count]

    # -- what a screen reader sees and does ---------------------------------------------
    # The first match that shows, and is in the state asked for too, depth first.
    def find(self, name, role=None, timeout=10.0, state=Atspi.StateType.SHOWING):
        def look(node):
            for child in children(node):
                if name in child.get_name() and role in (None, child.get_role_name()):
                    if all(map(child.get_state_set().contains, {Atspi.StateType.SHOWING, state})):
                        return child
                if found := look(child):
                    return found

        return wait_for(lambda: look(self.app), timeout, f"{role or 'anything'} named {name}")

    def press(self, name, role=None):
        moment = time.monotonic()
        self.find(name, role).get_action_iface().do_action(0)
        return moment

    def type_into(self, texts):  # {field: text}
        for field, text in texts.items():
            self.find(field, "text").get_editable_text_iface().set_text_contents(text)

    # -- the X server as the window manager sees it -------------------------------------
    def x_window(self, title, node=None):
        for child in (node or self.x.screen().root).query_tree().children:
            name = self.prop("_NET_WM_NAME", child)
            if name and title in name.decode() or (child := self.x_window(title, child)):
                return child

    def activate(self, title):  # brought to the front and given the focus, as Alt+Tab does
        window, root = self.x_window(title), self.x.screen().root
        active = self.x.intern_atom("_NET_ACTIVE_WINDOW")
        ask = ClientMessage(
            window=window, client_type=active, data=(32, [2, X.CurrentTime, 0, 0, 0])
        )
        root.send_event(ask, event_mask=X.SubstructureRedirectMask | X.SubstructureNotifyMask)
        self.x.flush()
        wait_for(lambda: (self.prop("_NET_ACTIVE_WINDOW") or [0])[0] == window.id, what=title)
