# The Windows program under Wine as a user and a screen reader meet it, driven from outside: a
# private X server that holds Wine's desktop, the program, and beside it in the same prefix the
# driver (driver.cpp), a screen reader's view of its windows. Keys and the mouse are real X
# events. Wine plays the user's Default Beep to a private sound server; its relay trace tells
# when each PlaySoundW call began and ended (seconds on Wine's clock), and which of the calls
# that it lists were made. One scenario a run:
#   test_wine.py desktop:DPI            at 96 (100 %) or 144 dpi (150 %), ended by the close box;
#                                       at 96, the alarm's chime answering a screen reader
#   test_wine.py installed              refused outside Program Files; installed, again over
#                                       the running clock, refused while another program holds
#                                       it; moved to another folder; ringing; installed with
#                                       its pages, which start it anew; uninstalled as its entry
#                                       says while it runs; an earlier install outside Program
#                                       Files left alone
#   test_wine.py pe_header OBJDUMP EXE ICO

import array
import json
import os
import re
import subprocess
import sys
import threading
import time
import wave
from pathlib import Path
from subprocess import DEVNULL, PIPE

from harness import MAIN_TITLE, MENU, RATE, XSession, check, wait_for

WINE = os.environ.get("WINE", "/usr/lib/wine/wine64")
WINESERVER = os.path.join(os.path.dirname(WINE), "wineserver")
WM_CHAR, WM_COMMAND, WM_SYSCOMMAND, SC_CLOSE, BM_CLICK = 0x102, 0x111, 0x112, 0xF060, 0xF5
EM_SETSEL = 0xB1
SHOWN_BY = {"Form1": "アラーム時刻設定", "Form2": "アラーム間隔設定", "Form4": "発表アラーム"}
TONE = 0.12  # s, the Default Beep
DLLS = r"kernel32|user32|gdi32|comctl32|comdlg32|ole32|oleaut32|oleacc|msvcrt|advapi32|shell32"
DLLS += r"|shlwapi|uxtheme|dwmapi|imm32|winmm|version|ucrtbase|api-ms-win-crt-.*"  # Windows'
DESKTOP = r"HKCU\Control Panel\Desktop"
BEEP = r"HKCU\AppEvents\Schemes\Apps\.Default\SystemDefault\.Current"
ENTRY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\AlarmClock"
SHORTCUT = r"C:\ProgramData\Microsoft\Windows\Start Menu\Programs\目覚まし時計.lnk"
PROGRAM_FILES = r"C:\Program Files"
FIRST, SECOND = PROGRAM_FILES + r"\Alarm Clock A", PROGRAM_FILES + r"\Alarm Clock B"
# Folders that users may change (C:\ lets every user change what is made in it), or Program
# Files itself, written in the ways that may hide it.
REFUSED = [r"C:\AlarmClock", PROGRAM_FILES, "c:\\program files\\", r"C:\Program FilesX\AlarmClock"]
REFUSED.append(PROGRAM_FILES + r"\AlarmClock\..\..\AlarmClock")


def windows(path):  # a Linux path as Wine's programs see it
    return "Z:" + path.replace("/", "\\")


def unix(path):  # a path of drive C: as Linux sees it
    return Path(os.environ["WINEPREFIX"], "drive_c", *path[3:].split("\\"))


def starts(folder):  # whether the Start-menu entry starts the clock's program in the folder
    return (folder + r"\alarmclock.exe").encode("utf-16-le") in unix(SHORTCUT).read_bytes()


class Wine(XSession):
    def __init__(self, dpi):
        super().__init__()  # the X server's screen is Wine's desktop
        self.dpi, self.beeps, self.called = dpi, [], set()

    def __enter__(self):  # Wine's server and desktop anew, at the DPI, with a Default Beep
        self.run(WINESERVER, "-k")
        super().__enter__()
        self.start_sound_server()
        with wave.open(f"{self.tmp}/beep.wav", "wb") as tone:  # TONE seconds of a 1 kHz square
            tone.setparams((1, 2, RATE, 0, "NONE", None))
            tone.writeframes(array.array("h", ([9000] * 24 + [-9000] * 24) * int(TONE * 1000)))
        self.reg("add", DESKTOP, "/v", "LogPixels", "/t", "REG_DWORD", "/d", str(self.dpi))
        self.reg("add", BEEP, "/ve", "/d", windows(f"{self.tmp}/beep.wav"))
        driver = os.environ["WINE_DRIVER"]
        self.driver = self.spawn(WINE, driver, stdin=PIPE, stdout=PIPE, encoding="utf-8")
        return self

    def __exit__(self, *exc):  # ends every Windows process of the prefix, Wine's desktop too
        self.run(WINESERVER, "-k")
        super().__exit__(*exc)

    def run(self, *command):  # a command's exit code
        return subprocess.run(command, env=self.env, stdout=DEVNULL, stderr=DEVNULL).returncode

    def reg(self, *words):  # Wine's reg command, which overwrites and deletes without asking
        return self.run(WINE, "reg", *words, "/f")

    def entry(self):  # the values of the clock's uninstall entry, or None where there is none
        export = os.path.join(self.tmp, "entry.reg")
        if self.run(WINE, "reg", "export", ENTRY, windows(export), "/y"):
            return None
        text = Path(export).read_text("utf-16")
        values = re.finditer(r'^"(.+?)"=(?:"(.*)"|dword:(\w+))$', text, re.M)
        return {v[1]: int(v[3], 16) if v[3] else re.sub(r"\\(.)", r"\1", v[2]) for v in values}

    def start(self, program):  # the clock, up once its start-up dialog shows
        env = dict(self.env, WINEDEBUG="+timestamp,+relay")
        self.program = self.spawn(WINE, program, stderr=PIPE, errors="replace", env=env)
        threading.Thread(target=self.trace, daemon=True).start()
        wait_for(lambda: self.form("Form1"), 30, "Form1")

    # The calls that the relay trace lists, PlaySoundW's as [began, ended, returned]:
    #   817.075:0120:Call winmm.PlaySoundW(140009000,00000000,00210002) ret=1400015a3
    #   817.698:0120:Ret  winmm.PlaySoundW() retval=00000001 ret=1400015a3
    def trace(self):
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

    def ask(self, *words):  # the driver's answer, with "t" when it carried the command out
        print(*words, file=self.driver.stdin, flush=True)
        answer = json.loads(self.driver.stdout.readline())
        check("error" not in answer, f"the driver could not: {answer.get('error')}")
        return answer

    def form(self, name, look=None):  # a form's window where it is shown, or {}
        window = (look or self.ask("look"))["forms"].get(name, {})
        return window if window.get("visible") else {}

    def post(self, name, message, w=0, control=None, lparam=0):  # returns when it was posted
        window = self.form(name)
        target = window["controls"][control] if control else window
        return self.ask(target["hwnd"], message, w, lparam)["t"] / 1000

    def menu(self, caption):  # a command of the clock window's menu bar, by its caption: the
        # commands are numbered in order from toolkit::win32::firstMenuId
        return self.post("mainForm", WM_COMMAND, 2000 + MENU.index(caption))

    def type_into(self, name, **texts):  # into the form's fields by name, a character at a time
        for field, character in ((f, c) for f, text in texts.items() for c in str(text)):
            self.post(name, WM_CHAR, ord(character), field)

    def front(self, name):  # the form's window once it is active and in front of the others
        def ready():
            look = self.ask("look")
            top = [w for w in look["forms"].values() if w["visible"]][:1]  # front to back
            return top == [self.form(name, look)] and top[0]["hwnd"] == look["front"] and top[0]

        return wait_for(ready, what=f"{name} in front and active")

    def focused(self, name, control):  # whether the control of the form has the keyboard focus
        look = self.ask("look")
        return look["focus"] == self.form(name, look)["controls"][control]["hwnd"]

    def setup(self, *options):  # the installer's exit code, started as a deployment tool does
        return self.ask("run", f'"{windows(os.environ["CLOCK_SETUP"])}"', *options)["exit"]

    def page(self, what, shows, button=1):  # the installer's front window once a shown control
        def showing():  # of it is so, then the button (IDOK, or IDCANCEL: 2) pressed
            window = self.ask("window", "目覚まし時計 セットアップ")["window"]
            return any(c["visible"] and shows(c) for c in window["controls"]) and window

        window = wait_for(showing, 30, what)
        self.ask(window["hwnd"], WM_COMMAND, button)
        return window


def start_up(s):  # Form1 unowned, in front, active and empty; the readout; the title
    s.start(os.environ["CLOCK_PROGRAM"])
    form1 = s.front("Form1")
    texts = [form1["controls"][n]["text"] for n in ("Text1", "Text2", "Label4")]
    check(not form1["owner"] and not any(texts), f"Form1 unowned and empty: {texts}")
    wait_for(lambda: "DisableProcessWindowsGhosting" in s.called, what="no ghosts of its windows")
    wait_for(lambda: s.focused("Form1", "Text1"), what="the focus in the hour field")

    def now():  # the readout and the title, once they show the time as it is: the title's date
        # and time as Windows writes them under the prefix's regional settings
        hour, minute, second, title = s.ask("now")["now"]
        check(re.fullmatch(r"\d{4}/\d\d/\d\d", title[:10]), f"a Japanese date, {title}")
        main = s.form("mainForm")
        shown = main["controls"]["Label1"]["text"], main["text"]
        return shown == (f"{hour}:{minute}:{second}", title + " " * 5 + MAIN_TITLE) and shown

    first = wait_for(now, what="the readout and the title showing the time")
    wait_for(lambda: now() not in (False, first), 3, "the readout and the title ticking")


def keyboard(s):  # Tab and Shift+Tab in the tab order; Enter and Escape press nothing, Space does
    away = (time.localtime().tm_hour + 12) % 24  # an alarm time that does not come
    for name, command in SHOWN_BY.items():
        s.menu(command)
        controls = s.front(name)["controls"]
        # the fields and the button, not the labels
        stops = [n for n in sorted(controls, key=lambda n: controls[n]["tab"]) if n[0] != "L"]
        for field in (n for n in stops if n.startswith("Text")):
            s.type_into(name, **{field: away if (name, field) == ("Form1", "Text1") else 9})
        heard = len(s.beeps)
        # Back round the dialog, then on round it to Command1
        to_command1 = stops[1:] + stops[: stops.index("Command1") + 1]
        for keys, walk in (("Shift_L Tab", stops[::-1]), ("Tab", to_command1)):
            for stop in walk:
                for key in ("Return", "Escape", keys):
                    s.key(*key.split())
                wait_for(lambda: s.focused(name, stop), 3, f"{keys} to {stop}")
        s.key("space")  # after every Enter and Escape: a beep of theirs would come first
        wait_for(lambda: len(s.beeps) > heard, 5, "a beep")
        time.sleep(0.5)  # for any beep more
        beeps = len(s.beeps) - heard  # Space presses Command1, Enter and Escape nothing
        check(beeps == 1 and s.form(name), f"{name}: {beeps} beeps, not Space's one")


def held(s):  # the alarm due now: while its chime holds the clock, what a screen reader sends
    # to it is answered at once, no tick runs, and commands wait for the chime's end. The alarm
    # is armed for a minute that does not come, then set to now: the beeps that follow are the
    # chime's five.
    hour, minute, second, _ = s.ask("now")["now"]
    if (minute, second) >= (59, 50):  # not to cross the hour while it rings
        time.sleep(61 - second)
        hour, minute, second, _ = s.ask("now")["now"]
    s.post("Form2", WM_SYSCOMMAND, SC_CLOSE)  # to be shown again

    def due(**at):  # typed over what the fields hold
        for field, text in at.items():
            s.post("Form1", EM_SETSEL, 0, field, -1)
            s.type_into("Form1", **{field: text})

    s.menu("アラーム時刻設定")
    s.front("Form1")
    due(Text2=99, Text1=hour)
    before = len(s.beeps) + 1  # the beeps since the acknowledgement
    s.post("Form1", BM_CLICK, 0, "Command1")  # armed
    wait_for(lambda: len(s.beeps) == before and s.beeps[-1][1], what="the acknowledgement")
    due(Text2=minute)
    look = s.ask("look")
    windows = s.form("Form1", look)["hwnd"], s.form("mainForm", look)["controls"]["Label1"]["hwnd"]
    answers, shown, commanded, deadline = [], [], False, time.monotonic() + 30
    while (begun := len(s.beeps) - before) < 5 and time.monotonic() < deadline:
        answers.append((begun, s.ask("ask", *windows)["answers"]))
        if begun >= 2:  # after the chime's second beep: the commands, then whether one showed
            shown += [(begun, bool(s.form("Form2")))] if commanded else []
            commanded = commanded or bool(s.menu("アラーム間隔設定") and s.menu("アラームOFF"))
        time.sleep(0.02)
    s.front("Form2")  # once the chime is over, and then no more chime
    slow = [a for a in answers for each in a[1] if not (each[0] and each[2]) or each[1] > 200]
    slow += [a for a in answers for each in a[1] if each[3] > 200]
    check(answers and not slow, f"each answered within 200 ms: {slow}")
    readouts = {a[1][1][4] for a in answers if 1 <= a[0] <= 3}
    check(len(readouts) == 1, f"the readout stays while the chime plays: {readouts}")
    during = [showing for begun, showing in shown if begun <= 3]  # its fourth beep to come
    check(during and not any(during), f"the commands taken once the chime is over: {shown}")


def placed(s):  # every window centred in the work area; client areas and controls in twips.
    # Then the clock window's close box ends the program.
    look = s.ask("look")
    area, scale = look["work"], s.dpi / 1440  # pixels a twip
    check(area[3] < 1024, f"a taskbar, which the work area leaves out: {area}")
    for name, w in look["forms"].items():
        (left, top, right, bottom), (x, y) = w["rect"], w["client"][:2]
        off = left + right - area[0] - area[2], top + bottom - area[1] - area[3]
        check(max(map(abs, off)) <= 1 and w["dpi"] == s.dpi, f"{name} off centre by {off} / 2")
        parts = {c: (v["rect"], v["twips"]) for c, v in w["controls"].items()}
        for part, (rect, (cx, cy, cw, ch)) in dict(parts, client=(w["client"], w["twips"])).items():
            want = x + cx * scale, y + cy * scale, x + (cx + cw) * scale, y + (cy + ch) * scale
            near = all(abs(a - b) <= 1 for a, b in zip(rect, want))
            check(near, f"{name}.{part} at {rect}, not {want}")
    s.post("mainForm", WM_SYSCOMMAND, SC_CLOSE)
    check(s.program.wait(5) == 0, "the clock window's close box ends the program")


def bells(s):  # the acknowledgement; bells 1 and 2 due in one tick at 0:02; bell 2 again; bell 3
    # three times. The times are typed in full-width digits, as a Japanese IME commits them.
    s.menu("発表アラーム")
    s.front("Form4")
    s.type_into("Form4", **{f"Text{field}": digit for field, digit in enumerate("０２０２０４", 1)})
    beeps = s.sounds(s.post("Form4", BM_CLICK, 0, "Command1"), 7)
    played = all(ended - began > TONE - 0.01 and code for began, ended, code in beeps)
    apart = all(b[0] >= a[1] for a, b in zip(beeps, beeps[1:])) and beeps[2][0] - beeps[1][1] < 0.2
    check(played and apart, f"each played, one after the other, bell 2 right after bell 1: {beeps}")


def interval(s):  # a beep a second; アラームOFF stops it and drops the beeps that wait; 終了 ends it
    s.menu("アラーム間隔設定")
    s.front("Form2")
    s.type_into("Form2", Text3=0, Text1=1)
    beeps = [b[0] for b in s.sounds(s.post("Form2", BM_CLICK, 0, "Command1"), 4)]
    check(beeps[3] - beeps[1] > 1, f"a beep a second, not more: {beeps}")
    # The minutes erased: length 0, a beep at every tick of the starting second.
    s.post("Form2", WM_CHAR, 8, "Text3")
    s.post("Form2", BM_CLICK, 0, "Command1")
    time.sleep(0.3)  # a beep plays, more wait
    stop = s.menu("アラームOFF")
    time.sleep(1.5)
    check(all(b[0] <= stop + 0.3 for b in s.beeps), f"アラームOFF dropped the waiting beeps: {s.beeps}")
    s.post("Form2", BM_CLICK, 0, "Command1")
    s.menu("終了")
    check(s.program.wait(5) == 0, "終了 ends the program while the alarm runs")


def programs():  # the folders of drive C: that hold the clock's program, Windows' own left out
    found = unix("C:\\").rglob("alarmclock.exe")
    return {p.parent for p in found if p.relative_to(unix("C:\\")).parts[0] != "windows"}


def state(s, folder):  # the entry, and when the Start-menu entry and each file were written
    # (the clock's program keeps the build's time: when it was replaced, by its ctime)
    files = {f.name: f.stat().st_mtime_ns for f in unix(folder).iterdir()}
    program = unix(folder + r"\alarmclock.exe").stat().st_ctime_ns
    return s.entry(), unix(SHORTCUT).stat().st_mtime_ns, files, program


def over_running(s, folder, *options):  # installed over the clock running from the folder,
    s.start(folder + r"\alarmclock.exe")  # which closed
    return s.setup("/S", *options) == 0 and s.program.wait(5) == 0


def refused(s):  # outside Program Files: exit code 4 when silent, nothing changed
    def drive():
        folders = os.listdir(unix("C:\\")), os.listdir(unix(PROGRAM_FILES))
        return folders, s.entry(), unix(SHORTCUT).exists()

    before = drive()
    for folder in REFUSED:
        check(s.setup("/S", "/D=" + folder) == 4 and drive() == before, f"{folder} refused")
    # With its pages: told why, and kept on the folder page until cancelled.
    setup = s.spawn(WINE, os.environ["CLOCK_SETUP"], "/D=" + REFUSED[0])
    s.page("the folder page", lambda c: c["text"] == REFUSED[0])
    s.page("why not", lambda c: c["text"].startswith("次のフォルダーにはインストールできません"))
    s.page("the folder page again", lambda c: c["text"] == REFUSED[0], 2)
    check(setup.wait(10) == 1 and drive() == before, f"{REFUSED[0]} refused on the folder page")


def install(s):  # into a folder typed as a user may; the entry and the Start-menu entry
    typed = "c:\\PROGRAM FILES\\Alarm Clock A\\"
    mine = unix(FIRST + r"\notes.txt")  # a file of the user's: the entry counts only the clock's
    mine.parent.mkdir(parents=True)
    mine.write_bytes(bytes(1 << 20))
    check(s.setup("/S", "/D=" + typed) == 0, f"installed into {typed}")
    location, values = typed.rstrip("\\"), s.entry() or {}
    version = re.search(r"alarmclock-(.+)-setup", os.environ["CLOCK_SETUP"])[1]
    size = (sum(f.stat().st_size for f in unix(FIRST).iterdir() if f != mine) + 1023) // 1024
    uninstaller = f'"{location}\\uninstall.exe"'
    want = dict(DisplayName="目覚まし時計", DisplayVersion=version, EstimatedSize=size)
    want.update(Publisher="The Alarm Clock developers", NoModify=1, NoRepair=1)
    want.update(InstallLocation=location, DisplayIcon=location + r"\alarmclock.exe,0")
    want.update(UninstallString=uninstaller, QuietUninstallString=uninstaller + " /S")
    entries = want.items() <= values.items() and starts(location)
    check(entries, f"the entry in the installed programs, {values}, and in the Start menu")
    mine.unlink()


def again(s):  # over the running clock; refused while the program is held, and on Windows 8.1
    before = state(s, FIRST)
    check(over_running(s, FIRST), "installed again over the running clock, which closed")
    after, program = state(s, FIRST), FIRST + r"\alarmclock.exe"
    check(after[0] == before[0] and after[3] != before[3], "replaced where it was, one entry")
    s.ask("lock", program)  # held by another program: the install and the uninstall refuse
    codes = s.setup("/S"), s.ask("run", after[0]["QuietUninstallString"])["exit"]
    s.ask("lock", program)
    check(codes == (2, 2) and state(s, FIRST)[:3] == after[:3], f"held: exit codes {codes}")
    version = rf"HKCU\Software\Wine\AppDefaults\{os.path.basename(os.environ['CLOCK_SETUP'])}"
    s.reg("add", version, "/v", "Version", "/d", "win81")
    check(s.setup("/S") == 3 and state(s, FIRST)[:3] == after[:3], "refused on Windows 8.1")
    s.reg("delete", version)


def moved(s):  # into another folder, with the clock running from the old one; started there
    check(over_running(s, FIRST, "/D=" + SECOND), "moved, the clock closed")
    values = s.entry()
    one = values["InstallLocation"] == SECOND and starts(SECOND) and programs() == {unix(SECOND)}
    check(one and not unix(FIRST).exists(), f"one install, in {SECOND}: {values}, {programs()}")
    s.start(SECOND + r"\alarmclock.exe")


def pages(s):  # with its pages over the running clock: the last one starts it anew
    s.start(SECOND + r"\alarmclock.exe")
    running, setup = s.program, s.spawn(WINE, os.environ["CLOCK_SETUP"])
    s.page("the folder page", lambda c: c["text"].rstrip("\\") == SECOND)
    s.page("the question", lambda c: c["text"].startswith("目覚まし時計が起動しています"))
    page = s.page("the last page", lambda c: c["check"] >= 0)
    boxes = [c["check"] for c in page["controls"] if c["visible"] and c["check"] >= 0]
    check(boxes == [1], f"a check box, checked, to start the clock: {boxes}")
    check(setup.wait(30) == 0 and running.wait(5) == 0, "installed, the running clock closed")
    wait_for(lambda: s.form("Form1"), 30, "the clock started anew")
    # by the desktop's shell, so as the user who is logged on, not elevated as the installer is
    wmic = [WINE, "wmic", "process", "get", "Name,ParentProcessId,ProcessId"]
    table = subprocess.run(wmic, env=s.env, capture_output=True).stdout.decode("utf-16")
    processes = [row.lower().rsplit(None, 2) for row in table.splitlines()[1:] if row.strip()]
    names = {process: name for name, _, process in processes}
    parents = [names.get(parent) for name, parent, _ in processes if name == "alarmclock.exe"]
    check(parents == ["explorer.exe"], f"started by the desktop's shell, not by {parents}")


def uninstall(s):  # as the entry says, while the clock runs: all gone once it returns
    quiet = s.entry()["QuietUninstallString"]
    code = s.ask("run", quiet)["exit"]
    gone = s.entry() is None and not unix(SHORTCUT).exists() and not programs()
    check(code == 0 and gone, f"{quiet} ended with exit code {code}, left {programs()}")


def left_alone(s):  # an earlier install outside Program Files: its uninstaller is never run
    old = r"C:\AlarmClock"
    unix(old).mkdir()
    unix(old + r"\alarmclock.exe").write_bytes(Path(os.environ["CLOCK_PROGRAM"]).read_bytes())
    # The driver as the uninstaller that a user put there: run, it leaves uninstall.exe.ran.
    unix(old + r"\uninstall.exe").write_bytes(Path(os.environ["WINE_DRIVER"]).read_bytes())
    s.reg("add", ENTRY, "/v", "InstallLocation", "/d", old)
    code = s.setup("/S")
    left, location = sorted(os.listdir(unix(old))), s.entry()["InstallLocation"]
    into = code == 0 and location == PROGRAM_FILES + r"\AlarmClock"
    kept = left == ["alarmclock.exe", "uninstall.exe"]  # its uninstaller never run
    check(into and kept, f"exit code {code}, installed in {location}; {old} holds {left}")


def pe_header(objdump, program, icon):  # as Windows 10 or 11 loads it, with every icon size
    data = Path(icon).read_bytes()
    sizes = [data[6 + 16 * i] or 256 for i in range(int.from_bytes(data[4:6], "little"))]
    check(sizes == [16, 20, 24, 32, 40, 48, 64, 256], f"the icon's sizes: {sizes}")
    headers = subprocess.run([objdump, "-p", program], capture_output=True, text=True).stdout
    wanted = {"ASLR": "DYNAMIC_BASE", "high-entropy ASLR": "HIGH_ENTROPY_VA", "DEP": "NX_COMPAT"}
    # the GUI subsystem: no console
    wanted |= {"a 64-bit executable": r"\(PE32\+\)", "the GUI subsystem": r"\(Windows GUI\)"}
    wanted["base relocations"] = r"^Entry 5 \w+ 0*[1-9a-f]"
    missing = [what for what, pattern in wanted.items() if not re.search(pattern, headers, re.M)]
    check(not missing, f"missing: {missing}")
    for dll in re.findall(r"^\tDLL Name: (.+)$", headers, re.M):
        check(re.fullmatch(rf"({DLLS})\.dll", dll.lower()), f"{dll} ships with Windows")
    image = Path(program).read_bytes()
    header = int.from_bytes(image[0x3C:0x40], "little")
    stamp = int.from_bytes(image[header + 8 : header + 12], "little")
    check(stamp == 0, f"a time stamp, which no two builds share: {stamp}")
    # Windows takes the first DPI awareness of the list that it knows: 1607 knows no V2.
    found = re.search(rb"<dpiAwareness[^>]*>([^<]*)<", image)
    awareness = [word.strip() for word in found[1].decode().split(",")] if found else []
    check(awareness[:2] == ["PerMonitorV2", "PerMonitor"], f"DPI awareness: {awareness}")


SCENARIOS = {  # each a session's steps in turn; the chime rings at one scale
    "desktop:96": [start_up, keyboard, held, placed],
    "desktop:144": [start_up, keyboard, placed],
    "installed": [refused, install, again, moved, bells, interval, pages, uninstall, left_alone],
}

if __name__ == "__main__":
    if sys.argv[1] == "pe_header":
        pe_header(*sys.argv[2:])
    else:
        with Wine(int(sys.argv[1].partition(":")[2] or 96)) as session:
            for step in SCENARIOS[sys.argv[1]]:
                t0 = time.monotonic()
                step(session)
                print("TIMING", step.__name__, round(time.monotonic() - t0, 1), file=sys.stderr)
    print(sys.argv[1], "passed")
