# The Windows program under Wine as a user and a screen reader meet it, one scenario a run,
# named on the command line: start_up:DPI (96 is 100 %, 144 is 150 %), keyboard, interval,
# owned, close_box, installer.

import collections
import datetime
import os
import re
import sys
import time

from wine_harness import (BUTTON, SC_CLOSE, SC_MINIMIZE, SC_RESTORE, SCREEN, TEXT_BOX, WineSession,
                          check, wait_for)

SUFFIX = "     [Hozel] Ver8.1[win8.1]"
BLUE, ORANGE, YELLOW = (0, 0, 255), (255, 128, 0), (255, 255, 0)
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\AlarmClock"


def near(a, b):
    return abs(a - b) <= 1


def placed(s, name):  # centred on the screen; client area and controls in twips at the DPI
    window, form = s.window(name), s.forms[name]
    (left, top, right, bottom), (x, y, r, b) = window["rect"], window["client"]
    check(near(left, (SCREEN[0] - right + left) / 2) and near(top, (SCREEN[1] - bottom + top) / 2),
          f"{name} centred: {window['rect']}")
    px = lambda twips: twips * s.dpi / 1440  # noqa: E731
    check(window["dpi"] == s.dpi and near(r - x, px(form["width"])) and near(b - y, px(form["height"])),
          f"{name}'s client area {r - x} x {b - y} at {window['dpi']} dpi")
    live = {c["id"]: c["rect"] for c in s.ask("controls", window["hwnd"])}
    for c in form["controls"]:
        cx, cy, cw, ch = c["twips"]
        want = (x + px(cx), y + px(cy), x + px(cx + cw), y + px(cy + ch))
        check(all(map(near, live[c["id"]], want)), f"{name}.{c['name']} at {live[c['id']]}, not {want}")


def start_up(s):
    main, form1 = s.window("mainForm"), s.front("Form1")
    order = [w["hwnd"] for w in s.ask("windows")["list"]]
    check(order.index(form1["hwnd"]) < order.index(main["hwnd"]) and not form1["owner"],
          "Form1 unowned, in front of the clock window")
    wait_for(lambda: s.focused("Form1") == "Text1", what="the focus in the hour field")
    check(all(s.text("Form1", n) == "" for n in ("Text1", "Text2", "Label4")), "Form1 empty")
    readout = wait_for(lambda: re.fullmatch(r"\d+:\d+:\d+", r := s.text("mainForm", "Label1")) and r)
    wait_for(lambda: s.text("mainForm", "Label1") != readout, 3, "the readout ticking")
    readout, title, now = s.text("mainForm", "Label1"), s.window("mainForm")["title"], time.time()
    moments = [datetime.datetime.fromtimestamp(now - ago) for ago in (0, 1, 2)]
    check(readout in [f"{t.hour}:{t.minute}:{t.second}" for t in moments], f"readout {readout}")
    check(title in [f"{t.year}/{t.month}/{t.day}" + (f" {t:%-H:%M:%S}" if t.hour or t.minute or t.second
                                                      else "") + SUFFIX for t in moments],
          f"title {title!r}: the date and time under Japanese regional settings, the date alone at 0:00:00")
    for command, name in (("kankaku", "Form2"), ("happyou", "Form4")):
        s.menu(command)
        s.front(name)
    for name in s.forms:
        placed(s, name)
    s.menu("end")
    check(s.program.wait(5) == 0, "終了 ends the program")


def keyboard(s):  # Tab and Shift+Tab in the tab order; Enter and Escape press nothing, Space does
    away = (datetime.datetime.now().hour + 12) % 24  # an alarm time that does not come
    for name, command in (("Form1", None), ("Form2", "kankaku"), ("Form4", "happyou")):
        if command:
            s.menu(command)
        s.front(name)
        stops = [c for c in sorted(s.forms[name]["controls"], key=lambda c: c["tab"])
                 if c["kind"] in (TEXT_BOX, BUTTON)]
        for field in (c["name"] for c in stops if c["kind"] == TEXT_BOX):
            s.type_into(name, field, away if (name, field) == ("Form1", "Text1") else 9)
        button = next(c for c in stops if c["kind"] == BUTTON)
        heard = len(s.beeps)
        for keys, walk in ((["Tab"], stops[1:] + stops[:1]), (["Shift_L", "Tab"], stops[::-1]),
                           (["Tab"], stops[1:stops.index(button) + 1])):
            for stop in walk:
                s.key("Return")
                s.key("Escape")
                s.key(*keys)
                wait_for(lambda: s.focused(name) == stop["name"], 3, f"{'+'.join(keys)} to {stop['name']}")
        s.key("space")  # after every Enter and Escape: a beep of theirs would come first
        s.beeps_after(0, heard + 1, 5)
        check(len(s.beeps) == heard + 1 and s.window(name)["visible"],
              f"{name}: Space presses {button['name']}, Enter and Escape nothing: {len(s.beeps) - heard} beeps")


def interval(s):
    s.menu("kankaku")
    s.front("Form2")
    s.type_into("Form2", "Text3", "0")
    s.type_into("Form2", "Text1", "1")
    beeps = s.beeps_after(s.press("Form2", "Command1"), 3, 6)  # the acknowledgement, then one a second
    check(0.7 < beeps[2] - beeps[1] < 1.3, f"one beep a second: {beeps}")
    check({argument for _, argument in s.beeps} == {0}, "the system beep is MessageBeep(MB_OK)")
    for command in ("aramuoff", "end"):  # アラームOFF stops the alarm; 終了 comes while it runs again
        stop = s.menu(command)
        time.sleep(1.5)  # a beep was due in this time
        late = [t - stop for t, _ in s.beeps if t > stop + 0.2]
        check(not late, f"beeps {late} s after {command}")
        if command == "aramuoff":
            s.press("Form2", "Command1")
    check(s.program.wait(5) == 0, "終了 ends the program while the alarm runs")


def owned(s):  # a dialog from the menu is owned by the clock window and minimised with it
    s.menu("kankaku")
    check(s.front("Form2")["owner"] == (main := s.window("mainForm"))["hwnd"], "Form2 owned by the clock")
    s.click_at(main["client"][0] + 12, main["client"][1] + 60)  # the dial, beside the dialogs
    s.front("mainForm")
    for command, shown in ((SC_MINIMIZE, False), (SC_RESTORE, True)):
        s.frame_button("mainForm", command)
        wait_for(lambda: s.window("mainForm")["iconic"] != shown and s.window("Form2")["visible"] == shown,
                 what=f"Form2 {'restored' if shown else 'minimised'} with the clock window")
        check(s.window("Form1")["visible"], "the start-up dialog, owned by none, stays")


def close_box(s):  # a dialog's close box takes its texts; the clock window's ends the program
    s.type_into("Form1", "Text1", "7")
    s.frame_button("Form1", SC_CLOSE)
    wait_for(lambda: not (s.window("Form1") or {}).get("visible"), what="Form1 closed")
    x, y, r, b = s.window("mainForm")["client"]  # the dial, uncovered
    width, height = r - x, b - y

    def dial():
        rows = s.pixels(x, y, width, height)
        marks = [rows[m][n - 4:n + 4] + rows[m + 1][n - 4:n + 4] for m, n in (  # 1/32 long
            (height // 64, width // 2), (height // 2, width - width // 64 - 1),
            (height - height // 64 - 2, width // 2), (height // 2, width // 64 + 4))]
        centre = [p for row in rows[height // 2 - 3:height // 2 + 4] for p in row[width // 2 - 3:width // 2 + 4]]
        colours = collections.Counter(p for row in rows for p in row)
        return (colours[BLUE] > width * height / 2 and sum(ORANGE in m for m in marks) >= 3  # a hand
                and YELLOW in centre)  # may cover one mark
    wait_for(dial, what="a blue face, orange marks at the middles of the edges, yellow hands")
    for command, name in (("jikokusettei", "Form1"), ("kankaku", "Form2"), ("kankaku", "Form2")):
        s.menu(command)
        s.front(name)
        check(s.text(name, "Text1") == "", f"{name} shown again without its texts")
        check(s.window(name)["owner"] == s.window("mainForm")["hwnd"], f"{name} owned by the clock window")
        s.type_into(name, "Text1", "7")
        s.frame_button(name, SC_CLOSE)
        wait_for(lambda: not (s.window(name) or {}).get("visible"), what=f"{name} closed")
    s.frame_button("mainForm", SC_CLOSE)
    check(s.program.wait(5) == 0, "the clock window's close box ends the program")


def installer(s):  # silent install, start from the installed path, silent uninstall
    setup = os.environ["CLOCK_SETUP"]
    version = re.search(r"alarmclock-(.+)-setup\.exe$", setup)[1]
    check(s.wine(setup, "/S").returncode == 0, "the silent install")
    folder = os.environ["WINEPREFIX"] + "/drive_c/Program Files/AlarmClock"
    shortcut = os.environ["WINEPREFIX"] + "/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/目覚まし時計.lnk"
    program = r"C:\Program Files\AlarmClock\alarmclock.exe"
    values = s.registry(UNINSTALL_KEY) or {}
    check(values.get("DisplayName") == "目覚まし時計" and values.get("DisplayVersion") == version
          and values.get("DisplayIcon", "").startswith(program) and values.get("NoModify") == 1
          and values.get("NoRepair") == 1 and values.get("EstimatedSize", 0) > 0, f"uninstall entry {values}")
    check(program.encode("utf-16-le") in open(shortcut, "rb").read(), "the Start-menu entry starts it")
    s.start(program)
    s.menu("end")
    check(s.program.wait(5) == 0, "the installed program runs and ends")
    uninstaller, options = re.fullmatch(r'"(.+)" (.+)', values["QuietUninstallString"]).groups()
    check(re.fullmatch(r'"(.+)"', values["UninstallString"])[1] == uninstaller, "UninstallString")
    s.wine(uninstaller, *options.split())  # goes on in a copy of itself
    wait_for(lambda: not os.path.exists(folder) and not os.path.exists(shortcut)
             and s.registry(UNINSTALL_KEY) is None, 30, "nothing left behind")


if __name__ == "__main__":
    scenario, _, dpi = sys.argv[1].partition(":")
    with WineSession(dpi=int(dpi or 96)) as session:
        if scenario != "installer":
            session.start()
        globals()[scenario](session)
    print(sys.argv[1], "passed")
