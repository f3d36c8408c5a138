"""Runs the real program on a private X server for end-to-end tests.

A Session starts Xvfb, a private session bus (which starts the accessibility bus on
demand) and the program, optionally under a faked wall clock, and offers what the tests
need to look at it: windows by title, their pixels and their titles, and the bells that
the X server rings (listen_for_bells).
"""

import ctypes
import os
import re
import shutil
import signal
import struct
import subprocess
import tempfile
import threading
import time
import zlib

from Xlib import X, display as xdisplay

FAKETIME_LIB = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"


def _die_with_the_test():
    """Run in each child before exec: ends it when the test process ends, however it ends."""
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGTERM)


def wait_for(predicate, timeout=10.0, interval=0.05, what="condition"):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out waiting for {what}")
        time.sleep(interval)


class Session:
    def __init__(self, program, fake_time=None, frozen=False, lang="ja_JP.UTF-8",
                 tz="Asia/Tokyo", screen="1280x1024x24", extra_env=None):
        self.program = program
        self.fake_time = fake_time
        self.frozen = frozen
        self.lang = lang
        self.tz = tz
        self.screen = screen
        self.extra_env = extra_env or {}
        self.procs = []
        self.tmp = tempfile.mkdtemp(prefix="clock-e2e-")
        self.app = None

    # -- lifecycle ------------------------------------------------------------------
    def __enter__(self):
        try:
            self._start_x()
            self._start_bus()
            self.start_program()
        except BaseException:
            self.close()
            raise
        return self

    def __exit__(self, *exc):
        self.close()

    def _start_x(self):
        read_fd, write_fd = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_fd), "-screen", "0", self.screen,
             "-nolisten", "tcp", "-noreset"],
            pass_fds=(write_fd,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            preexec_fn=_die_with_the_test)
        self.procs.append(xvfb)
        os.close(write_fd)
        with os.fdopen(read_fd) as pipe:
            number = pipe.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.display_name = f":{number}"
        self.display = xdisplay.Display(self.display_name)

    def _start_bus(self):
        bus = subprocess.Popen(
            ["dbus-daemon", "--session", "--nofork", "--print-address=1"],
            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
            env=self.base_env(), preexec_fn=_die_with_the_test)
        self.procs.append(bus)
        self.bus_address = bus.stdout.readline().strip()
        if not self.bus_address:
            raise RuntimeError("the session bus did not start")

    def base_env(self):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "FAKETIME", "DBUS_", "AT_SPI"))}
        env.update({
            "DISPLAY": getattr(self, "display_name", ""),
            "XDG_RUNTIME_DIR": self.tmp,
            "LANG": self.lang, "LC_ALL": self.lang, "TZ": self.tz,
            "QT_QPA_PLATFORM": "xcb",
            "NO_AT_BRIDGE": "0",
        })
        if hasattr(self, "bus_address"):
            env["DBUS_SESSION_BUS_ADDRESS"] = self.bus_address
        return env

    def program_env(self):
        env = self.base_env()
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env["QT_ACCESSIBILITY"] = "1"
        if self.fake_time:
            env["LD_PRELOAD"] = FAKETIME_LIB
            env["FAKETIME"] = ("" if self.frozen else "@") + self.fake_time
            env["FAKETIME_DONT_FAKE_MONOTONIC"] = "1"
            env["FAKETIME_NO_CACHE"] = "1"
        env.update(self.extra_env)
        return env

    def start_program(self):
        self.log_path = os.path.join(self.tmp, "program.log")
        with open(self.log_path, "ab") as log:
            self.app = subprocess.Popen([self.program], env=self.program_env(),
                                        stdout=log, stderr=subprocess.STDOUT,
                                        preexec_fn=_die_with_the_test)
        self.procs.append(self.app)
        return self.app

    def close(self):
        if getattr(self, "display", None) is not None:
            self.display.close()
            self.display = None
        for proc in reversed(self.procs):
            if proc.poll() is None:
                proc.send_signal(signal.SIGTERM)
                try:
                    proc.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        for proc in self.procs:
            if proc.stdout is not None:
                proc.stdout.close()
        self.procs.clear()
        shutil.rmtree(self.tmp, ignore_errors=True)

    # -- windows --------------------------------------------------------------------
    def _top_windows(self):
        root = self.display.screen().root
        return root.query_tree().children

    def title_of(self, window):
        name = window.get_full_property(self.display.intern_atom("_NET_WM_NAME"),
                                        self.display.intern_atom("UTF8_STRING"))
        if name:
            value = name.value
            return value.decode("utf-8") if isinstance(value, bytes) else value
        return window.get_wm_name() or ""

    def find_window(self, title_pattern, timeout=10.0):
        regex = re.compile(title_pattern)

        def look():
            for window in self._top_windows():
                try:
                    attrs = window.get_attributes()
                    if attrs.map_state != X.IsViewable:
                        continue
                    if regex.search(self.title_of(window)):
                        return window
                except Exception:
                    continue
            return None

        return wait_for(look, timeout, what=f"window titled /{title_pattern}/")

    def geometry(self, window):
        geometry = window.get_geometry()
        origin = window.translate_coords(self.display.screen().root, 0, 0)
        return -origin.x, -origin.y, geometry.width, geometry.height

    def grab(self, window):
        """The window's pixels as an Image."""
        x, y, width, height = self.geometry(window)
        root = self.display.screen().root
        raw = root.get_image(x, y, width, height, X.ZPixmap, 0xFFFFFFFF)
        return Image(width, height, raw.data)

    def resize(self, window, width, height):
        window.configure(width=width, height=height)
        self.display.sync()

    # -- bells ----------------------------------------------------------------------
    def listen_for_bells(self, listener=None):
        """Starts the bell listener on this display; returns a Bells that collects the bells."""
        listener = listener or os.environ.get("BELL_LISTENER", "")
        if not listener or not os.access(listener, os.X_OK):
            raise RuntimeError("BELL_LISTENER does not name the built bell listener")
        proc = subprocess.Popen([listener], env=self.base_env(), stdout=subprocess.PIPE,
                                stderr=subprocess.DEVNULL, text=True,
                                preexec_fn=_die_with_the_test)
        self.procs.append(proc)
        return Bells(proc)


class Bells:
    """Times (on time.monotonic()'s clock) of the bells rung on the display."""

    def __init__(self, proc, timeout=10.0):
        self.proc = proc
        self._times = []
        self._lock = threading.Lock()
        self._ready = threading.Event()
        threading.Thread(target=self._read, daemon=True).start()
        if not self._ready.wait(timeout):
            raise RuntimeError("the bell listener did not start")

    def _read(self):
        try:
            for line in self.proc.stdout:
                word, _, value = line.strip().partition(" ")
                if word == "ready":
                    self._ready.set()
                elif word == "bell":
                    with self._lock:
                        self._times.append(float(value))
        except (OSError, ValueError):
            pass  # the session closed the pipe

    def times(self, since=None):
        with self._lock:
            return [t for t in self._times if since is None or t >= since]

    def wait_for(self, count, since=None, timeout=10.0):
        """The first `count` bells at or after `since`; fails if fewer ring within timeout."""
        wait_for(lambda: len(self.times(since)) >= count, timeout, what=f"{count} bell(s)")
        return self.times(since)[:count]


class Image:
    """32-bit pixels as the X server hands them out (B, G, R, pad)."""

    def __init__(self, width, height, data):
        self.width, self.height, self.data = width, height, bytes(data)

    def pixel(self, x, y):
        offset = (y * self.width + x) * 4
        b, g, r = self.data[offset:offset + 3]
        return r, g, b

    def bounding_box(self, colour):
        """Left, top, right, bottom (inclusive) of all pixels of one colour."""
        xs, ys = [], []
        for y in range(self.height):
            for x in range(self.width):
                if self.pixel(x, y) == colour:
                    xs.append(x)
                    ys.append(y)
        if not xs:
            return None
        return min(xs), min(ys), max(xs), max(ys)

    def save_png(self, path):
        rows = bytearray()
        for y in range(self.height):
            rows.append(0)
            for x in range(self.width):
                rows.extend(self.pixel(x, y))

        def chunk(kind, payload):
            body = kind + payload
            return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body))

        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header)
                      + chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))
