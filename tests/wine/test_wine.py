# The Windows program under Wine as a user and a screen reader meet it, driven from outside: a
# private X server that holds Wine's desktop, the program, and beside it in the same prefix the
# driver (driver.cpp), a screen reader's view of its windows. Keys and the mouse are real X
# events. Wine plays the user's Default Beep to a private sound server whose silent sink is
# recorded; its relay trace tells when each PlaySoundW call began and ended (seconds on Wine's
# clock), and which of the calls that it lists were made. One scenario a run:
#   test_wine.py desktop:DPI            at 96 (100 %) or 144 dpi (150 %), ended by the close box
#   test_wine.py installed              refused outside Program Files; installed, again over
#                                       the running clock, refused while another program holds
#                                       it; moved to another folder; ringing; installed with
#                                       its pages, which start it anew; uninstalled as its entry
#                                       says while it runs; an earlier install outside Program
#                                       Files left alone
#   test_wine.py pe_header OBJDUMP EXE ICO

import array
import datetime
import json
import math
import os
import re
import shutil
import struct
import subprocess
import sys
import threading
import time
import wave

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "e2e"))
from harness import RATE, Session, XSession, check, wait_for  # noqa: E402

WINE = os.environ.get("WINE", "/usr/lib/wine/wine64")
WINESERVER = os.path.join(os.path.dirname(WINE), "wineserver")
WM_CHAR = 0x102
WM_COMMAND = 0x111
WM_SYSCOMMAND = 0x112
BM_CLICK = 0xF5
SC_MINIMIZE = 0xF020
SC_RESTORE = 0xF120
SC_CLOSE = 0xF060
IDOK = 1
IDCANCEL = 2
SCREEN = (1280, 1024)  # the X server's, and so Wine's desktop's
SUFFIX = "     [Hozel] Ver8.1[win8.1]"
BLUE, ORANGE, YELLOW = (0, 0, 255), (255, 128, 0), (255, 255, 0)
MENU = ["アラーム間隔設定", "発表アラーム", "アラーム時刻設定", "アラームOFF", "終了"]
SHOWN_BY = {"Form1": "アラーム時刻設定", "Form2": "アラーム間隔設定", "Form4": "発表アラーム"}
TONE = 0.12  # s, the Default Beep
FULL_WIDTH = str.maketrans("0123456789", "０１２３４５６７８９")  # as a Japanese IME commits digits
WINDOWS_DLLS = (
    r"(kernel32|user32|gdi32|comctl32|comdlg32|ole32|oleaut32|oleacc|msvcrt|advapi32|shell32|"
    r"shlwapi|uxtheme|dwmapi|imm32|winmm|version|ucrtbase|api-ms-win-crt-.*)\.dll"
)
ENTRY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\AlarmClock"
SHORTCUT = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\目覚まし時計.lnk"
PROGRAM_FILES = r"C:\Program Files"
SETUP_TITLE = "目覚まし時計 セットアップ"
# Folders that users may change (C:\ lets every user change what is made in it), or Program
# Files itself, written in the ways that may hide it.
REFUSED = [
    r"C:\AlarmClock",
    r"C:\Program Files",
    "c:\\program files\\",
    r"C:\Program FilesX\AlarmClock",
    r"C:\Program Files\AlarmClock\..\..\AlarmClock",
]


def windows(path):  # a Linux path as Wine's programs see it
    return "Z:" + path.replace("/", "\\")


def unix(path):  # a path of drive C: as Linux sees it
    return os.path.join(os.environ["WINEPREFIX"], "drive_c", *path[3:].split("\\"))


def write_tone(path):  # the Default Beep: TONE seconds of 880 Hz, 16-bit mono
    samples = (math.sin(2 * math.pi * 880 * i / RATE) for i in range(int(RATE * TONE)))
    with wave.open(path, "wb") as tone:
        tone.setnchannels(1)
        tone.setsampwidth(2)
        tone.setframerate(RATE)
        tone.writeframes(array.array("h", (int(12000 * s) for s in samples)).tobytes())


class Wine(XSession):
    # The sound server of the end-to-end tests, whose silent sink is recorded.
    start_sound_server = Session.start_sound_server
    _onsets = Session._onsets

    def __init__(self, dpi):
        super().__init__("%dx%d" % SCREEN)
        self.dpi, self.beeps, self.onsets, self.called = dpi, [], [], set()
        self.env.update(PULSE_SERVER=f"unix:{self.tmp}/pa")

    def __enter__(self):  # Wine's server and desktop anew, at the DPI, with a Default Beep
        self.run(WINESERVER, "-k")
        super().__enter__()
        self.start_sound_server()
        write_tone(f"{self.tmp}/beep.wav")
        beep = windows(f"{self.tmp}/beep.wav").replace("\\", "\\\\")
        with open(f"{self.tmp}/settings.reg", "w") as settings:
            settings.write(
                "REGEDIT4\n\n[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n"
                f'"LogPixels"=dword:{self.dpi:08x}\n\n'
                "[HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\.Default\\SystemDefault\\.Current]\n"
                f'@="{beep}"\n'
            )
        self.run(WINE, "reg", "import", windows(f"{self.tmp}/settings.reg"))
        self.driver = self.spawn(
            WINE,
            os.environ["WINE_DRIVER"],
            stdin=subprocess.PIPE,
            stdout=subprocess.PIPE,
            text=True,
            encoding="utf-8",
        )
        return self

    def __exit__(self, *exc):  # ends every Windows process of the prefix, Wine's desktop too
        self.run(WINESERVER, "-k")
        super().__exit__(*exc)

    def run(self, *command):
        output = subprocess.DEVNULL
        return subprocess.run(command, env=self.env, stdout=output, stderr=output).returncode

    def start(self, program):  # the clock, up once its start-up dialog shows
        self.program = self.spawn(
            WINE,
            program,
            stderr=subprocess.PIPE,
            text=True,
            errors="replace",
            env=dict(self.env, WINEDEBUG="+timestamp,+relay"),
        )
        threading.Thread(target=self.trace, daemon=True).start()
        wait_for(lambda: self.shown("Form1"), 30, "Form1")

    def trace(self):
        """The calls that the relay trace lists, PlaySoundW's as [began, ended, returned]:
        817.075:0120:Call winmm.PlaySoundW(140009000,00000000,00210002) ret=1400015a3
        817.698:0120:Ret  winmm.PlaySoundW() retval=00000001 ret=1400015a3"""
        pattern = re.compile(r"(\d+\.\d+):\w+:(Call|Ret)\s+\w+\.(\w+)\((?:.*retval=(\w+))?")
        for call in filter(None, map(pattern.match, self.program.stderr)):
            moment, kind, function, returned = call.groups()
            if function != "PlaySoundW":
                self.called.add(function)
            elif kind == "Call":
                self.beeps.append([float(moment), None, None])
            else:
                self.beeps[-1][1:] = float(moment), int(returned, 16)

    def sounds(self, since, count):  # PlaySoundW's calls since then, once COUNT have ended
        def ended():
            calls = [call for call in self.beeps if call[0] > since and call[1]]
            return len(calls) >= count and calls

        return wait_for(ended, 10, f"{count} beeps")

    def heard(self, since, until):  # the sounds recorded meanwhile, on Wine's clock
        raw = time.clock_gettime(time.CLOCK_MONOTONIC_RAW) - time.monotonic()
        return [t + raw for t in self.onsets if since < t + raw < until]

    def ask(self, *words):  # the driver's answer, with "t" when it carried the command out
        self.driver.stdin.write(" ".join(map(str, words)) + "\n")
        self.driver.stdin.flush()
        answer = json.loads(self.driver.stdout.readline())
        check("error" not in answer, f"the driver could not: {answer.get('error')}")
        return answer

    def form(self, name, look=None):  # a form's window, or {} where there is none
        return (look or self.ask("look"))["forms"].get(name, {})

    def shown(self, name):  # the form's window where it is shown
        window = self.form(name)
        return window.get("visible") and window

    def post(self, name, message, w=0, control=None):  # returns when it was posted
        window = self.form(name)
        target = window["controls"][control] if control else window
        return self.ask(target["hwnd"], message, w)["t"] / 1000

    def menu(self, caption):  # a command of the clock window's menu bar, by its caption on the bar
        bar = self.ask("menu", self.form("mainForm")["hwnd"])["menu"]
        return self.post("mainForm", WM_COMMAND, {c: i for i, c in bar}[caption])

    def type_into(self, name, field, text):
        for character in str(text):
            self.post(name, WM_CHAR, ord(character), field)

    def front(self, name):  # the form's window once it is active and in front of the others
        def ready():
            look = self.ask("look")
            shown = [w for w in look["forms"].values() if w["visible"]]
            window = self.form(name, look)
            return shown and shown[0]["hwnd"] == look["front"] == window.get("hwnd") and window

        return wait_for(ready, what=f"{name} in front and active")

    def focused(self, name, control):  # whether the control of the form has the keyboard focus
        look = self.ask("look")
        return look["focus"] == self.form(name, look)["controls"][control]["hwnd"]

    def setup(self, *options):  # the installer's exit code, started as a deployment tool does
        return self.ask("run", f'"{windows(os.environ["CLOCK_SETUP"])}"', *options)["exit"]

    def page(self, what, shows):  # the installer's front window once a shown control is so
        def showing():
            window = self.ask("window", SETUP_TITLE)
            return any(c["shown"] and shows(c) for c in window["controls"]) and window

        return wait_for(showing, 30, what)


def start_up(s):  # Form1 unowned, in front, active and empty; the menu bar; the readout; the title
    form1 = s.front("Form1")
    check(not form1["owner"], "Form1 unowned")
    bar = s.ask("menu", s.form("mainForm")["hwnd"])["menu"]
    check([caption for _, caption in bar] == MENU, f"the menu bar's commands in their order: {bar}")
    wait_for(
        lambda: "DisableProcessWindowsGhosting" in s.called, what="the windows kept from ghosts"
    )
    check(not any(form1["controls"][n]["text"] for n in ("Text1", "Text2", "Label4")), "empty")
    wait_for(lambda: s.focused("Form1", "Text1"), what="the focus in the hour field")

    def readout(main):
        return main["controls"]["Label1"]["text"]

    def ticked(since):  # the clock window once its readout has changed
        main = s.form("mainForm")
        return readout(main) != since and main

    first = wait_for(lambda: re.fullmatch(r"\d+:\d+:\d+", readout(s.form("mainForm"))))[0]
    main = wait_for(lambda: ticked(first), 3, "the readout ticking")
    moments = [datetime.datetime.fromtimestamp(time.time() - ago) for ago in (0, 1, 2)]
    check(
        readout(main) in [f"{t.hour}:{t.minute}:{t.second}" for t in moments],
        f"readout {readout(main)}",
    )
    # The date and the time as the regional settings write them, the date alone at 0:00:00.
    written = s.ask("clock")["moments"]
    check(re.fullmatch(r"\d{4}/\d\d/\d\d", written[0][0]), "Japanese Windows' short date")
    titles = [date + ("" if midnight else " " + t) + SUFFIX for date, t, midnight in written]
    check(main["text"] in titles, f"title {main['text']!r}, not one of {titles}")


def keyboard(s):  # Tab and Shift+Tab in the tab order; Enter and Escape press nothing, Space does
    away = (datetime.datetime.now().hour + 12) % 24  # an alarm time that does not come
    for name in SHOWN_BY:
        if name != "Form1":  # shown at start-up
            s.menu(SHOWN_BY[name])
        controls = s.front(name)["controls"]
        stops = sorted(
            (n for n in controls if n.startswith(("Text", "Command"))),
            key=lambda n: controls[n]["tab"],
        )
        for field in (n for n in stops if n.startswith("Text")):
            s.type_into(name, field, away if (name, field) == ("Form1", "Text1") else 9)
        heard = len(s.beeps)
        walks = (
            (["Tab"], stops[1:] + stops[:1]),
            (["Shift_L", "Tab"], stops[::-1]),
            (["Tab"], stops[1 : stops.index("Command1") + 1]),
        )
        for keys, walk in walks:
            for stop in walk:
                s.key("Return")
                s.key("Escape")
                s.key(*keys)
                wait_for(lambda: s.focused(name, stop), 3, f"{'+'.join(keys)} to {stop}")
        s.key("space")  # after every Enter and Escape: a beep of theirs would come first
        wait_for(lambda: len(s.beeps) > heard, 5, "a beep")
        time.sleep(0.5)  # for any beep more
        check(
            len(s.beeps) == heard + 1 and s.form(name)["visible"],
            f"{name}: Space presses Command1, Enter and Escape nothing: "
            f"{len(s.beeps) - heard} beeps",
        )


def placed(s):  # every window centred in the work area; client areas and controls in twips
    look = s.ask("look")
    area = look["work"]
    check(area[3] < SCREEN[1], f"a taskbar, which the work area leaves out: {area}")

    def px(twips):
        return twips * s.dpi / 1440

    def near(a, b):
        return abs(a - b) <= 1

    for name, w in look["forms"].items():
        (left, top, right, bottom), (x, y, r, b) = w["rect"], w["client"]
        check(
            near(left + right, area[0] + area[2]) and near(top + bottom, area[1] + area[3]),
            f"{name} centred in the work area {area}: {w['rect']}",
        )
        check(
            w["dpi"] == s.dpi and near(r - x, px(w["twips"][2])) and near(b - y, px(w["twips"][3])),
            f"{name}'s client area {r - x} x {b - y} at {w['dpi']} dpi",
        )
        for c, control in w["controls"].items():
            cx, cy, cw, ch = control["twips"]
            want = (x + px(cx), y + px(cy), x + px(cx + cw), y + px(cy + ch))
            check(
                all(map(near, control["rect"], want)),
                f"{name}.{c} at {control['rect']}, not {want}",
            )


def owned(s):  # dialogs from the menu are owned by the clock window, minimised and restored with it
    main = s.form("mainForm")["hwnd"]
    s.menu("アラーム間隔設定")
    check(s.front("Form2")["owner"] == main, "Form2 owned by the clock window, in front and active")
    for command, shown in ((SC_MINIMIZE, False), (SC_RESTORE, True)):
        s.post("mainForm", WM_SYSCOMMAND, command)
        wait_for(
            lambda: s.form("mainForm")["iconic"] != shown and s.form("Form2")["visible"] == shown,
            what=f"Form2 {'restored' if shown else 'minimised'} with the clock window",
        )
        check(s.form("Form1")["visible"], "the start-up dialog, owned by none, stays")


def close_boxes(s):  # a dialog's close box takes its texts: shown again, it is empty and owned
    # The time alarm stays armed, and Form1 made anew reads as 0:00: muted, lest it chime
    # at every tick from midnight to one.
    s.menu("アラームOFF")

    def close(name):
        s.post(name, WM_SYSCOMMAND, SC_CLOSE)
        wait_for(lambda: not s.form(name).get("visible"), what=f"{name} closed")

    for name, command in SHOWN_BY.items():
        check(s.form(name)["controls"]["Text1"]["text"], f"{name} holds a text")
        close(name)
        # not always in front: Wine may activate the clock window late, for the closed one
        s.menu(command)
        w = wait_for(lambda: s.shown(name), what=f"{name} shown again")
        check(
            not w["controls"]["Text1"]["text"] and w["owner"] == s.form("mainForm")["hwnd"],
            f"{name} shown again empty and owned by the clock window",
        )
        close(name)


def dial(s):  # uncovered: a blue face, orange marks at the middles of the edges, yellow hands
    x, y, r, b = s.form("mainForm")["client"]
    w, h = r - x, b - y
    ends = (
        (h // 64, w // 2),
        (h // 2, w - w // 64 - 1),
        (h - h // 64 - 2, w // 2),
        (h // 2, w // 64 + 4),
    )

    def painted():
        rows = s.pixels(x, y, w, h)
        # 1/32 of a side long: 8 pixels across, 2 rows deep, at each mark's outer end
        marks = [rows[m][n - 4 : n + 4] + rows[m + 1][n - 4 : n + 4] for m, n in ends]
        centre = [p for row in rows[h // 2 - 3 : h // 2 + 4] for p in row[w // 2 - 3 : w // 2 + 4]]
        blue = sum(row.count(BLUE) for row in rows)
        # a hand may cover one mark
        return blue > w * h / 2 and YELLOW in centre and sum(ORANGE in m for m in marks) >= 3

    wait_for(painted, what="a blue face, orange marks at the middles of the edges, yellow hands")


def desktop(s):
    s.start(os.environ["CLOCK_PROGRAM"])
    for step in (start_up, keyboard, placed, owned, close_boxes, dial):
        step(s)
    s.post("mainForm", WM_SYSCOMMAND, SC_CLOSE)
    check(s.program.wait(5) == 0, "the clock window's close box ends the program")


def bells(s):  # the acknowledgement; bells 1 and 2 due in one tick at 0:02; bell 2 again; bell 3
    # three times. The times are typed in full-width digits.
    s.menu("発表アラーム")
    s.front("Form4")
    for field, digit in zip(("Text1", "Text2", "Text3", "Text4", "Text5", "Text6"), "020204"):
        s.type_into("Form4", field, digit.translate(FULL_WIDTH))
    beeps = s.sounds(s.post("Form4", BM_CLICK, 0, "Command1"), 7)
    check(
        all(ended - began > TONE - 0.01 and played for began, ended, played in beeps),
        f"each played: {beeps}",
    )
    check(
        all(b[0] >= a[1] for a, b in zip(beeps, beeps[1:])) and beeps[2][0] - beeps[1][1] < 0.2,
        f"one after the other, bell 2 right after bell 1: {beeps}",
    )
    heard = s.heard(beeps[0][0] - 0.05, beeps[-1][1] + 0.05)
    check(
        len(heard) == 7 and all(b[0] - 0.05 < t < b[1] for t, b in zip(heard, beeps)),
        f"each heard: {heard}",
    )


def interval(s):  # a beep a second; アラームOFF stops it and drops the beeps that wait; 終了 ends it
    s.menu("アラーム間隔設定")
    s.front("Form2")
    s.type_into("Form2", "Text3", 0)
    s.type_into("Form2", "Text1", 1)
    beeps = [b[0] for b in s.sounds(s.post("Form2", BM_CLICK, 0, "Command1"), 4)]
    check(beeps[3] - beeps[1] > 1, f"a beep a second, not more: {beeps}")
    # The minutes erased: length 0, a beep at every tick of the starting second.
    s.post("Form2", WM_CHAR, 8, "Text3")
    s.post("Form2", BM_CLICK, 0, "Command1")
    time.sleep(0.3)  # a beep plays, more wait
    stop = s.menu("アラームOFF")
    time.sleep(1.5)
    check(
        not [b for b in s.beeps if b[0] > stop + 0.3],
        f"アラームOFF dropped the waiting beeps: {s.beeps}",
    )
    s.post("Form2", BM_CLICK, 0, "Command1")
    s.menu("終了")
    check(s.program.wait(5) == 0, "終了 ends the program while the alarm runs")


def registry(s, key):  # the values of a key, or None where there is none
    export = os.path.join(s.tmp, "key.reg")
    if s.run(WINE, "reg", "export", key, windows(export), "/y"):
        return None
    with open(export, encoding="utf-16") as exported:
        values = re.finditer(r'^"(.+?)"=(?:"(.*)"|dword:(\w+))$', exported.read(), re.M)
    return {v[1]: int(v[3], 16) if v[3] else re.sub(r"\\(.)", r"\1", v[2]) for v in values}


def programs():  # the folders of drive C: that hold the clock's program, Windows' own left out
    found = set()
    for folder, subfolders, files in os.walk(unix("C:\\")):
        subfolders[:] = [f for f in subfolders if f != "windows"]
        if "alarmclock.exe" in files:
            found.add(folder)
    return found


def state(s, folder):  # the entry, and when the Start-menu entry and each file were written
    # (the clock's program keeps the build's time: when it was replaced, by its ctime)
    files = {f.name: f.stat().st_mtime_ns for f in os.scandir(unix(folder))}
    program = os.stat(unix(folder + r"\alarmclock.exe")).st_ctime_ns
    return registry(s, ENTRY), os.stat(unix(SHORTCUT)).st_mtime_ns, files, program


def refused(s):  # outside Program Files: exit code 4 when silent, nothing changed
    def unchanged():
        return (
            (os.listdir(unix("C:\\")), os.listdir(unix(PROGRAM_FILES))) == before
            and registry(s, ENTRY) is None
            and not os.path.exists(unix(SHORTCUT))
        )

    before = os.listdir(unix("C:\\")), os.listdir(unix(PROGRAM_FILES))
    for folder in REFUSED:
        check(s.setup("/S", "/D=" + folder) == 4 and unchanged(), f"{folder} refused")
    # With its pages: told why, and kept on the folder page until cancelled.
    setup = s.spawn(WINE, os.environ["CLOCK_SETUP"], "/D=" + REFUSED[0])
    page = s.page("the folder page", lambda c: c["text"] == REFUSED[0])
    s.ask(page["hwnd"], WM_COMMAND, IDOK)
    told = s.page("why not", lambda c: c["text"].startswith("次のフォルダーにはインストールできません"))
    s.ask(told["hwnd"], WM_COMMAND, IDOK)
    page = s.page("the folder page again", lambda c: c["text"] == REFUSED[0])
    s.ask(page["hwnd"], WM_COMMAND, IDCANCEL)
    check(setup.wait(10) == 1 and unchanged(), f"{REFUSED[0]} refused on the folder page")


def installed_in(s, folder, typed):  # the entry and the Start-menu entry of a first install
    mine = unix(folder + r"\notes.txt")  # a file of the user's: the entry counts only the clock's
    os.makedirs(unix(folder))
    with open(mine, "wb") as notes:
        notes.write(bytes(1 << 20))
    check(s.setup("/S", "/D=" + typed) == 0, f"installed into {typed}")
    location = typed.rstrip("\\")
    values = registry(s, ENTRY) or {}
    uninstaller = re.fullmatch(r'"(.+)" /S', values.get("QuietUninstallString", ""))
    sizes = [f.stat().st_size for f in os.scandir(unix(folder)) if f.path != mine]
    want = {
        "DisplayName": "目覚まし時計",
        "DisplayVersion": re.search(r"alarmclock-(.+)-setup", os.environ["CLOCK_SETUP"])[1],
        "DisplayIcon": location + r"\alarmclock.exe,0",
        "EstimatedSize": (sum(sizes) + 1023) // 1024,
        "InstallLocation": location,
        "NoModify": 1,
        "NoRepair": 1,
        "Publisher": "The Alarm Clock developers",
    }
    check(
        want.items() <= values.items()
        and uninstaller
        and uninstaller[1] == location + r"\uninstall.exe"
        and values["UninstallString"] == f'"{uninstaller[1]}"',
        f"the entry in the installed programs: {values}",
    )
    with open(unix(SHORTCUT), "rb") as shortcut:
        program = (location + r"\alarmclock.exe").encode("utf-16-le")
        check(program in shortcut.read(), "the Start-menu entry starts it")
    os.remove(mine)
    return values["QuietUninstallString"]


def again(s, folder, quiet):  # over the running clock; refused while the program is held
    program = folder + r"\alarmclock.exe"
    s.start(program)
    before = state(s, folder)
    check(
        s.setup("/S") == 0 and s.program.wait(5) == 0, "installed again, the running clock closed"
    )
    after = state(s, folder)
    check(
        after[0] == before[0] and after[3] != before[3],
        "the program replaced where it was, the entry kept",
    )
    # Held by another program: the install and the uninstall as the entry says it refuse.
    s.ask("lock", program)
    codes = s.setup("/S"), s.ask("run", quiet)["exit"]
    check(
        codes == (2, 2) and state(s, folder)[:3] == after[:3],
        f"the program in use: exit codes {codes}, not 2, or something changed",
    )
    s.ask("lock", program)
    version = rf"HKCU\Software\Wine\AppDefaults\{os.path.basename(os.environ['CLOCK_SETUP'])}"
    s.run(WINE, "reg", "add", version, "/v", "Version", "/d", "win81", "/f")
    check(
        s.setup("/S") == 3 and state(s, folder)[:3] == after[:3],
        "Windows 8.1: exit code 3, nothing changed",
    )
    s.run(WINE, "reg", "delete", version, "/f")


def moved(s, old, new):  # into another folder, with the clock running from the old one
    s.start(old + r"\alarmclock.exe")
    check(s.setup("/S", "/D=" + new) == 0 and s.program.wait(5) == 0, "moved, the clock closed")
    values = registry(s, ENTRY)
    with open(unix(SHORTCUT), "rb") as shortcut:
        starts = (new + r"\alarmclock.exe").encode("utf-16-le") in shortcut.read()
    check(
        values["InstallLocation"] == new and starts and programs() == {unix(new)},
        f"one install, in {new}: {values}, {programs()}",
    )
    check(not os.path.exists(unix(old)), f"nothing left in {old}")
    return values["QuietUninstallString"]


def pages(s, folder):  # with its pages over the running clock: the last one starts it anew
    s.start(folder + r"\alarmclock.exe")
    running = s.program
    setup = s.spawn(WINE, os.environ["CLOCK_SETUP"])
    page = s.page("the folder page", lambda c: c["text"].rstrip("\\") == folder)
    s.ask(page["hwnd"], WM_COMMAND, IDOK)
    question = s.page("the question", lambda c: c["text"].startswith("目覚まし時計が起動しています"))
    s.ask(question["hwnd"], WM_COMMAND, IDOK)
    page = s.page("the last page", lambda c: c["check"] >= 0)
    boxes = [c["check"] for c in page["controls"] if c["shown"] and c["check"] >= 0]
    check(boxes == [1], f"a check box, checked, to start the clock: {page}")
    s.ask(page["hwnd"], WM_COMMAND, IDOK)
    check(setup.wait(30) == 0 and running.wait(5) == 0, "installed, the running clock closed")
    form1 = wait_for(lambda: s.shown("Form1"), 30, "the clock started anew")
    # by the desktop's shell, so as the user who is logged on, not elevated as the installer is
    parent = s.ask("parent", form1["hwnd"])["parent"]
    check(parent.lower() == "explorer.exe", f"started by the desktop's shell, not by {parent}")


def uninstalled(s, quiet):  # as the entry says, while the clock runs: all gone once it returns
    code = s.ask("run", quiet)["exit"]
    check(code == 0, f"{quiet} ended with exit code {code}, not 0")
    check(
        registry(s, ENTRY) is None and not os.path.exists(unix(SHORTCUT)) and not programs(),
        f"nothing left once {quiet} had returned: {programs()}",
    )


def left_alone(s):  # an earlier install outside Program Files: its uninstaller is never run
    old = r"C:\AlarmClock"
    os.makedirs(unix(old))
    shutil.copy(os.environ["CLOCK_PROGRAM"], unix(old + r"\alarmclock.exe"))
    # The driver as the uninstaller that a user put there: run, it leaves uninstall.exe.ran.
    shutil.copy(os.environ["WINE_DRIVER"], unix(old + r"\uninstall.exe"))
    s.run(WINE, "reg", "add", ENTRY, "/v", "InstallLocation", "/d", old, "/f")
    check(s.setup("/S") == 0, "installed over the earlier install")
    check(
        sorted(os.listdir(unix(old))) == ["alarmclock.exe", "uninstall.exe"]
        and registry(s, ENTRY)["InstallLocation"] == PROGRAM_FILES + r"\AlarmClock",
        f"installed into Program Files, {old} left as it was: {os.listdir(unix(old))}",
    )


def installed(s):
    refused(s)
    first, second = PROGRAM_FILES + r"\Alarm Clock A", PROGRAM_FILES + r"\Alarm Clock B"
    quiet = installed_in(s, first, "c:\\PROGRAM FILES\\Alarm Clock A\\")  # as typed
    again(s, first, quiet)
    quiet = moved(s, first, second)
    s.start(second + r"\alarmclock.exe")
    bells(s)
    interval(s)
    pages(s, second)
    uninstalled(s, quiet)
    left_alone(s)


def pe_header(objdump, program, icon):  # as Windows 10 or 11 loads it, with every icon size
    with open(icon, "rb") as ico:
        data = ico.read()
    sizes = [data[6 + 16 * i] or 256 for i in range(struct.unpack_from("<H", data, 4)[0])]
    check(sizes == [16, 20, 24, 32, 40, 48, 64, 256], f"the icon's sizes: {sizes}")
    dump = subprocess.run([objdump, "-p", program], capture_output=True, text=True, check=True)
    headers = dump.stdout
    flags = int(re.search(r"^DllCharacteristics\s+(\w+)", headers, re.M)[1], 16)
    for missing, what in (
        (flags & 0x40 == 0, "ASLR"),
        (flags & 0x20 == 0, "high-entropy ASLR"),
        (flags & 0x100 == 0, "DEP"),
        ("(PE32+)" not in headers, "a 64-bit executable"),
        ("(Windows GUI)" not in headers, "the GUI subsystem (no console)"),
        (not re.search(r"^Entry 5 \w+ 0*[1-9a-f]", headers, re.M), "base relocations"),
    ):
        check(not missing, f"missing: {what}")
    for dll in re.findall(r"^\tDLL Name: (.+)$", headers, re.M):
        check(re.fullmatch(WINDOWS_DLLS, dll.lower()), f"{dll} ships with Windows")
    # Windows takes the first DPI awareness of the list that it knows: 1607 knows no V2.
    with open(program, "rb") as exe:
        found = re.search(rb"<dpiAwareness[^>]*>([^<]*)<", exe.read())
    awareness = [word.strip() for word in found[1].decode().split(",")] if found else []
    check(awareness[:2] == ["PerMonitorV2", "PerMonitor"], f"DPI awareness: {awareness}")


if __name__ == "__main__":
    scenario, _, dpi = sys.argv[1].partition(":")
    if scenario == "pe_header":
        pe_header(*sys.argv[2:])
    else:
        with Wine(int(dpi or 96)) as session:
            globals()[scenario](session)
    print(sys.argv[1], "passed")
