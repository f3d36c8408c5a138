"""The ears of the sound tests: a private sound server with a silent sink whose monitor
is recorded, a listener for X bells, a watcher of window titles, and the keyboard and
mouse of the user.

All times are seconds on the monotonic clock (time.monotonic), which is also the clock
of the X server's event timestamps and of the bell listener.
"""

import array
import os
import shutil
import signal
import subprocess
import tempfile
import threading
import time

from Xlib import X, display as xdisplay

from harness import wait_for

RATE = 48000


class SoundServer:
    """A private sound server with one silent sink, "rec", reached at a socket of its own."""

    def __init__(self):
        self.dir = tempfile.mkdtemp(prefix="clock-sound-")
        self.socket = os.path.join(self.dir, "native")
        self.proc = None

    @property
    def address(self):
        return "unix:" + self.socket

    def client_env(self):
        """What a program needs to use this server, and only this one: without the
        server's cookie a client would make one in the user's home."""
        return {"PULSE_SERVER": self.address,
                "PULSE_COOKIE": os.path.join(self.dir, ".config", "pulse", "cookie")}

    def env(self):
        env = dict(os.environ)
        env.update({"PULSE_SERVER": self.address, "HOME": self.dir,
                    "XDG_RUNTIME_DIR": self.dir,
                    "PULSE_RUNTIME_PATH": os.path.join(self.dir, "runtime"),
                    "PULSE_STATE_PATH": os.path.join(self.dir, "state")})
        env.pop("DISPLAY", None)
        return env

    def start(self):
        self.log = open(os.path.join(self.dir, "server.log"), "wb")
        self.proc = subprocess.Popen(
            ["pulseaudio", "--daemonize=no", "--system=false", "--exit-idle-time=-1", "-n",
             "--use-pid-file=no", "--disable-shm=yes", "-F", "/dev/null",
             f"--load=module-null-sink sink_name=rec rate={RATE} norewinds=1",
             f"--load=module-native-protocol-unix socket={self.socket} auth-anonymous=1"],
            env=self.env(), stdout=self.log, stderr=subprocess.STDOUT)
        wait_for(lambda: subprocess.run(["pactl", "info"], env=self.env(),
                                        stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL).returncode == 0,
                 timeout=15, what="the sound server")
        return self

    def freeze(self):
        self.proc.send_signal(signal.SIGSTOP)

    def thaw(self):
        self.proc.send_signal(signal.SIGCONT)

    def close(self):
        if self.proc and self.proc.poll() is None:
            self.proc.send_signal(signal.SIGCONT)
            self.proc.terminate()
            try:
                self.proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.proc.kill()
                self.proc.wait()
        if self.proc:
            self.log.close()
        shutil.rmtree(self.dir, ignore_errors=True)


class Recorder:
    """Records the sink's monitor and finds the beeps in it.

    Sample i was played at start + i / RATE. The start is bounded from above by every
    read: the first n samples cannot have arrived before start + n / RATE. The smallest
    such bound is taken, so onsets come out late, never early, by at most the recorder's
    own latency (a few milliseconds).
    """

    def __init__(self, server):
        self.samples = array.array("h")
        self.start_bound = float("inf")
        self.lock = threading.Lock()
        self.proc = subprocess.Popen(
            ["parec", "-d", "rec.monitor", "--raw", "--format=s16le", f"--rate={RATE}",
             "--channels=1", "--latency-msec=5"],
            env=server.env(), stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, bufsize=0)
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()
        wait_for(lambda: len(self.samples) > RATE // 10, timeout=10, what="the recording")

    def _read(self):
        pending = b""
        while True:
            chunk = self.proc.stdout.read(4096)
            now = time.monotonic()
            if not chunk:
                return
            pending += chunk
            whole = len(pending) - len(pending) % 2
            with self.lock:
                self.samples.frombytes(pending[:whole])
                self.start_bound = min(self.start_bound, now - len(self.samples) / RATE)
            pending = pending[whole:]

    def now_index(self):
        with self.lock:
            return len(self.samples)

    def beeps(self, since=0.0, threshold=2000, min_silence=0.015):
        """Onset times and lengths (seconds) of the sounds recorded after `since`."""
        with self.lock:
            samples = self.samples[:]
            start = self.start_bound
        window = RATE // 1000  # 1 ms
        first = max(0, int((since - start) * RATE)) // window
        found, onset, last_loud = [], None, None
        for w in range(first, len(samples) // window):
            block = samples[w * window:(w + 1) * window]
            loud = max(block) > threshold or -min(block) > threshold
            if not loud:
                continue
            if last_loud is None or w - last_loud > min_silence * 1000:
                if onset is not None:
                    found.append((onset, last_loud + 1))
                # The exact first loud sample of this window.
                i = next(i for i, s in enumerate(block) if abs(s) > threshold)
                onset = w * window + i
            last_loud = w
        # A sound still going on when the recording ends is left for a later look.
        if onset is not None and len(samples) // window - last_loud > min_silence * 1000:
            found.append((onset, last_loud + 1))
        return [(start + a / RATE, (b * window - a) / RATE) for a, b in found]

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(timeout=5)


class BellListener:
    """Every X bell on the display, as the X server reports it."""

    def __init__(self, display_name):
        program = os.environ["BELL_LISTENER"]
        env = dict(os.environ, DISPLAY=display_name)
        self.proc = subprocess.Popen([program], env=env, stdout=subprocess.PIPE, text=True)
        if self.proc.stdout.readline().strip() != "ready":
            raise RuntimeError("the bell listener did not start")
        self.bells = []
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        for line in self.proc.stdout:
            word, _, stamp = line.partition(" ")
            if word == "bell":
                self.bells.append(float(stamp))

    def close(self):
        self.proc.terminate()
        self.proc.wait(timeout=5)


class TitleWatcher:
    """Every change of a window's title, stamped by the X server."""

    def __init__(self, display_name, window_id):
        self.display = xdisplay.Display(display_name)
        self.window = self.display.create_resource_object("window", window_id)
        self.name_atom = self.display.intern_atom("_NET_WM_NAME")
        self.utf8 = self.display.intern_atom("UTF8_STRING")
        self.changes = []  # (time, title)
        self.window.change_attributes(event_mask=X.PropertyChangeMask)
        self.display.sync()
        self.offset = self._server_clock_offset()
        self.running = True
        self.thread = threading.Thread(target=self._watch, daemon=True)
        self.thread.start()

    def _server_clock_offset(self):
        # The X server stamps events in milliseconds of its monotonic clock, cut to 32
        # bits; a property change of our own gives one stamp to line it up with ours.
        before = time.monotonic()
        atom = self.display.intern_atom("_CLOCK_TEST_STAMP")
        self.window.change_property(atom, atom, 8, b"x")
        self.display.sync()
        while True:
            event = self.display.next_event()
            if event.type == X.PropertyNotify and event.atom == atom:
                stamp = event.time
                break
        after = time.monotonic()
        ours = int(before * 1000) & 0xFFFFFFFF
        if abs(stamp - ours) > 1000 * (after - before) + 50:
            raise RuntimeError("the X server's clock is not the monotonic clock")
        return (int(before * 1000) - stamp)

    def _watch(self):
        while self.running:
            try:
                event = self.display.next_event()
            except Exception:
                return
            if event.type != X.PropertyNotify or event.atom != self.name_atom:
                continue
            value = self.window.get_full_property(self.name_atom, self.utf8)
            if value is None:
                continue
            title = value.value
            title = title.decode("utf-8") if isinstance(title, bytes) else title
            self.changes.append(((event.time + self.offset) / 1000.0, title))

    def after(self, moment):
        """The times of the title changes after a moment."""
        return [when for when, _ in list(self.changes) if when > moment]

    def close(self):
        self.running = False
        self.display.close()


def xdotool(display_name, *args):
    subprocess.run(["xdotool", *args], env=dict(os.environ, DISPLAY=display_name),
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def menu_item_centres(image, bar_height=30):
    """The centres, left to right, of the items of a menu bar at the top of a window:
    columns with dark text pixels, grouped where they lie less than 10 pixels apart."""
    columns = []
    for x in range(image.width):
        if any(sum(image.pixel(x, y)) < 200 for y in range(min(bar_height, image.height))):
            columns.append(x)
    groups = []
    for x in columns:
        if groups and x - groups[-1][1] < 10:
            groups[-1][1] = x
        else:
            groups.append([x, x])
    return [((a + b) // 2) for a, b in groups]


class BeepRequestTracer:
    """When the program's main thread asks for a beep, to the microsecond.

    A request wakes the beep worker through a futex; the tracer follows the main thread's
    futex calls with their call stacks and keeps those made from the request queue. Only
    the main thread is traced, so the worker and the sound run untouched.
    """

    def __init__(self, pid):
        self.log = tempfile.NamedTemporaryFile(prefix="clock-trace-", delete=False)
        self.log.close()
        self.offset = time.time() - time.monotonic()
        self.proc = subprocess.Popen(
            ["strace", "-p", str(pid), "-k", "-ttt", "-e", "trace=futex", "-e", "signal=none",
             "-o", self.log.name], stderr=subprocess.PIPE, text=True)
        if "attached" not in self.proc.stderr.readline():
            raise RuntimeError("strace could not attach to the program")

    def requests(self):
        """Stops tracing; the monotonic times of the requests."""
        self.close()
        calls = []  # (time, stack)
        with open(self.log.name) as log:
            for line in log:
                if line.startswith(" > "):
                    if calls:
                        calls[-1][1].append(line)
                    continue
                stamp = line.split(" ", 1)[0]
                if stamp.replace(".", "", 1).isdigit():
                    calls.append((float(stamp), []))
        # The wake-up of the worker, made by the request queue.
        return [when - self.offset for when, stack in calls
                if any("pthread_cond_signal" in frame for frame in stack)
                and any("BeepQueue::request" in frame for frame in stack)]

    def close(self):
        if self.proc.poll() is None:
            self.proc.terminate()
            self.proc.wait(timeout=10)

    def __del__(self):
        try:
            os.unlink(self.log.name)
        except OSError:
            pass
