# The Windows program under Wine, looked at and driven from outside: a private X server that
# holds Wine's desktop, the program, and beside it in the same prefix the driver, a screen
# reader's view of its windows (driver.cpp). Keys and the mouse are real X events. Wine plays
# nothing for the system beep: its relay trace, restricted to MessageBeep, tells each call
# and when it was made. Times are seconds on Wine's clock (GetTickCount64).

import json
import os
import re
import subprocess
import sys
import threading

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from harness import XSession, check, wait_for  # noqa: E402,F401

WINE = os.environ.get("WINE", "/usr/lib/wine/wine64")
WM_COMMAND, WM_SYSCOMMAND, BM_CLICK = 0x111, 0x112, 0xF5
SC_MINIMIZE, SC_RESTORE, SC_CLOSE = 0xF020, 0xF120, 0xF060
TEXT_BOX, BUTTON = 2, 3  # forms::Kind
SCREEN = (1280, 1024)  # the X server's, and so Wine's desktop's


class WineSession(XSession):
    def __init__(self, dpi=96):
        super().__init__("%dx%d" % SCREEN)
        self.dpi, self.beeps, self.program = dpi, [], None

    def __enter__(self):  # Wine's server and desktop anew, on this X server
        self.wineserver("-k")
        super().__enter__()
        self.wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                  "/d", str(self.dpi), "/f")
        self.driver = self.spawn(WINE, os.environ["WINE_DRIVER"], stdin=subprocess.PIPE,
                                 stdout=subprocess.PIPE, text=True, encoding="utf-8")
        self.forms = {form["name"]: form for form in self.ask("forms")}
        return self

    def __exit__(self, *exc):  # ends every Windows process of the prefix, Wine's desktop too
        self.wineserver("-k")
        super().__exit__(*exc)

    def wineserver(self, *options):
        subprocess.run([os.path.join(os.path.dirname(WINE), "wineserver"), *options], env=self.env,
                       stderr=subprocess.DEVNULL)

    def wine(self, *command):
        return subprocess.run([WINE, *command], env=self.env, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)

    def start(self, program=None):  # the clock, up once its start-up dialog shows
        self.program = self.spawn(WINE, program or os.environ["CLOCK_PROGRAM"], stderr=subprocess.PIPE,
                                  env=dict(self.env, WINEDEBUG="+timestamp,+relay"),
                                  text=True, errors="replace")
        threading.Thread(target=self._trace, daemon=True).start()
        return wait_for(lambda: (w := self.window("Form1")) and w["visible"] and w, 30, "Form1")

    def _trace(self):  # e.g. "1388.943:00cc:Call user32.MessageBeep(00000000) ret=14000158c"
        for line in self.program.stderr:
            if call := re.match(r"(\d+\.\d+):\w+:Call user32\.MessageBeep\((\w+)\)", line):
                self.beeps.append((float(call[1]), int(call[2], 16)))

    def beeps_after(self, moment, count, timeout):
        return wait_for(lambda: (lambda b: b[:count] if len(b) >= count else None)(
            [t for t, _ in self.beeps if t > moment]), timeout, f"{count} beeps")

    # -- what the driver sees and does ----------------------------------------------------
    def ask(self, *words):
        self.driver.stdin.write("\t".join(map(str, words)) + "\n")
        self.driver.stdin.flush()
        answer = json.loads(self.driver.stdout.readline())
        check("error" not in answer, f"{words}: {answer.get('error')}")
        self.moment = answer["t"] / 1000  # when the driver carried it out
        return answer["r"]

    def form_of(self, window):
        if window["class"].endswith(".Clock"):
            return "mainForm"
        return next((name for name, f in self.forms.items() if f["caption"] == window["title"]), None)

    def window(self, name, desktop=None):  # the top-level window of a form, or None
        desktop = desktop or self.ask("windows")
        return next((w for w in desktop["list"] if self.form_of(w) == name), None)

    def control(self, form, name):
        ident = next(c["id"] for c in self.forms[form]["controls"] if c["name"] == name)
        return next(c for c in self.ask("controls", self.window(form)["hwnd"]) if c["id"] == ident)

    def text(self, form, name):
        return self.control(form, name)["title"]

    def type_into(self, form, name, text):
        self.ask("settext", self.control(form, name)["hwnd"], text)

    def press(self, form, name):  # returns when the press was posted
        self.ask("post", self.control(form, name)["hwnd"], BM_CLICK, 0, 0)
        return self.moment

    def menu(self, name):
        self.ask("post", self.window("mainForm")["hwnd"], WM_COMMAND,
                 self.forms["mainForm"]["menu"][name], 0)
        return self.moment

    def frame_button(self, form, command):  # what the frame's minimise, restore or close box does
        self.ask("post", self.window(form)["hwnd"], WM_SYSCOMMAND, command, 0)

    def front(self, form):  # the form's window once it is in front and active
        return wait_for(lambda: (w := self.window(form, d := self.ask("windows"))) and
                        w["hwnd"] == d["front"] and w, what=f"{form} in front and active")

    def focused(self, form):  # the name of the form's control that has the keyboard focus
        desktop = self.ask("windows")
        ids = [c["id"] for c in self.ask("controls", self.window(form, desktop)["hwnd"])
               if c["hwnd"] == desktop["focus"]]
        return next((c["name"] for c in self.forms[form]["controls"] if c["id"] in ids), None)

    def registry(self, key):  # the values of a key, or None where there is none
        export = os.path.join(self.tmp, "key.reg")
        if self.wine("reg", "export", key, "Z:" + export.replace("/", "\\"), "/y").returncode:
            return None
        values = re.finditer(r'^"(.+?)"=(?:"(.*)"|dword:(\w+))$', open(export, encoding="utf-16").read(),
                             re.M)
        return {v[1]: int(v[3], 16) if v[3] else re.sub(r"\\(.)", r"\1", v[2]) for v in values}
