# The real program as a user and a screen reader meet it, one scenario per run, named on
# the command line as SCENARIO:DESKTOP. A machine without the desktop parts that a scenario
# takes skips it (exit 77).

import faulthandler
import os
import shutil
import subprocess
import sys
import time


def skip(reason, tool=True):  # the test presets want every tool that they install there
    print("skipped:", reason)
    sys.exit(1 if tool and os.environ.get("ALARMCLOCK_REQUIRE_TEST_TOOLS") else 77)


try:
    from harness import FAKETIME, MAIN_TITLE, MENU, Atspi, Session, check, wait_for
except (ImportError, ValueError) as error:  # PyGObject, the accessibility client, Xlib
    skip(f"a Python module is missing: {error}")

FORM1 = "アラーム時刻設定 Ver.10"
NOTICE = "時間ですよ"  # as speech-dispatcher has it, without the full-width mark
HOUR, MINUTE = "アラーム時刻 時", "アラーム時刻 分"
DESKTOPS = {
    "x11": {},
    "openbox": {"wm": "openbox", "global_menu": True},
    "wayland": {"platform": "wayland"},
    "small_screen": {"wm": "openbox", "screen": "640x360", "dpi": 192},
    "scaled": {"wm": "openbox", "dpi": 192},
    "mutter": {"wm": "mutter --x11 --replace --sm-disable"},
    "xbell": {"sound": False},
    "wayland_xbell": {"platform": "wayland", "sound": False},
    "restart": {},
    "tz_path": {"tz": ":/etc/localtime"},
    "tz_named": {"tz": "Europe/Berlin"},
    "orca": {"wm": "openbox", "screen_reader": True},
}
CLOCKS = {  # the scenarios that start the clock at a time of their own
    "time_zone": {"fake_time": "2026-03-29 01:59:58", "zone": "Europe/Berlin"},
    "spoken_notice": {"fake_time": "2026-12-05 07:30:00"},
    "silenced": {"fake_time": "2026-12-05 07:30:00"},
    "held": {"fake_time": "2026-12-05 07:30:00"},
}


def start_up(s, desktop):
    for name, role in [(caption, "menu item") for caption in MENU] + [("時刻設定", "push button")]:
        check(s.find(name, role).get_action_iface(), f"{name} can be pressed")
    for name in (HOUR, MINUTE):
        check(s.find(name, "text").get_editable_text_iface(), f"{name} takes text")
    s.find("アナログ時計")  # the dial
    if desktop != "wayland":  # a compositor places windows itself; a headless one has no seat
        s.find(FORM1, "dialog", state=Atspi.StateType.ACTIVE)  # the start-up dialog, active
        s.find(HOUR, "text", state=Atspi.StateType.FOCUSED)  # with the focus in its hour field
        windows = [wait_for(lambda: s.x_window(t), what=t) for t in (MAIN_TITLE, FORM1)]
        if "wm" in DESKTOPS[desktop]:
            stack = s.prop("_NET_CLIENT_LIST_STACKING")  # the clients from bottom to top
            check(stack.index(windows[0].id) < stack.index(windows[1].id), "Form1 in front")
        # The frame, as the user sees it, is centred, and where it is larger than the screen,
        # starts on it; a scaled window moves in steps of its own pixels.
        near, screen = 3 if "dpi" in DESKTOPS[desktop] else 1, s.x.screen()
        for title, window in zip((MAIN_TITLE, FORM1), windows):
            g, at = window.get_geometry(), window.translate_coords(screen.root, 0, 0)
            left, right, top, bottom = s.prop("_NET_FRAME_EXTENTS", window) or (0, 0, 0, 0)
            dx = -at.x - left - max(0, (screen.width_in_pixels - g.width - left - right) // 2)
            dy = -at.y - top - max(0, (screen.height_in_pixels - g.height - top - bottom) // 2)
            check(abs(dx) <= near and abs(dy) <= near, f"{title} is {dx}, {dy} off its place")
    moment = s.press("終了")
    check(s.program.wait(5) == 0 and time.monotonic() - moment < 2, "終了 ends the program")


def interval(s, desktop):
    s.press("アラーム間隔設定")
    s.type_into({"間隔 分": "0", "間隔 秒": "1"})
    beeps = s.sounds(s.press("START"), 3, 5)  # the acknowledgement, then one a second
    check(0.7 < beeps[2] - beeps[1] < 1.3, f"one beep a second: {beeps}")
    if desktop == "restart":  # the sound server down for a little over a second, while a beep plays
        s.sound_server.terminate()
        s.sound_server.wait()
        time.sleep(1.3)
        s.start_sound_server()
        up = time.monotonic()
        first = s.sounds(up, 1, 5)[0] - up
        check(first < 1.2, f"first beep {first:.2f} s after a restart")
    s.type_into({"間隔 分": ""})  # length 0: a beep on every tick of the START second
    for command in ("アラームOFF", "終了"):
        s.press("START")
        time.sleep(0.15)  # within the START second, whose beeps wait in a queue
        s.press(command)
        stop = time.monotonic()  # the program has taken the command
        time.sleep(1.5)
        late = [t - stop for t in s.onsets if t > stop + 0.2]
        check(not late, f"beeps asked for before {command} sounded {late} s after it")
    check(s.program.wait(5) == 0, "終了 ends the program")


def spoken_start_up(s, desktop):  # the dialog and its field as it shows, then Tab; in the clock
    # window, Alt opens the menu bar, which stays open for the arrows
    s.reader.hears(f"{FORM1} ダイアログ", 0, 20)
    s.reader.hears(f"{HOUR} テキスト", 0)
    for key, heard in (("Tab", f"{MINUTE} テキスト"), ("Tab", "時刻設定 プッシュボタン")):
        moment = time.monotonic()
        s.key(key)
        s.reader.hears(heard, moment)
    s.activate(MAIN_TITLE)
    for key, heard in (("Alt_L", MENU[0]), ("Right", MENU[1])):
        moment = time.monotonic()
        s.key(key)
        s.reader.hears(heard, moment)


def ring(s):  # the alarm due now, at 7:30, armed; when its chime has begun
    s.type_into({HOUR: "7", MINUTE: "30"})
    return s.sounds(s.press("時刻設定", "push button"), 2, 20)[1]  # after the acknowledgement


def spoken_notice(s, desktop):  # at once as the alarm begins, while the chime plays, only then,
    # also while another program has the focus; and the clock asks for attention
    screen = s.x.screen()
    other = screen.root.create_window(0, 0, 200, 100, 0, screen.root_depth)
    other.change_property(
        s.x.intern_atom("_NET_WM_NAME"), s.x.intern_atom("UTF8_STRING"), 8, b"other"
    )
    other.map()
    wait_for(lambda: s.x_window("other"), what="the other window")
    s.activate("other")  # a busy window manager may not focus a new window by itself
    begun = ring(s)
    spoken = s.reader.hears(NOTICE, begun - 1, 20)
    check(spoken - begun < 2, f"the notice spoken {spoken - begun:.1f} s after the chime began")
    chime = s.sounds(begun - 0.01, 5, 20)
    check(all(0.1 < b - a < 3 for a, b in zip(chime, chime[1:])), f"a chime of five: {chime}")
    main, asks = s.x_window(MAIN_TITLE), s.x.intern_atom("_NET_WM_STATE_DEMANDS_ATTENTION")
    wait_for(lambda: asks in (s.prop("_NET_WM_STATE", main) or []), what="a call for attention")
    time.sleep(2)
    notices = [line for line in s.reader.said(begun - 1) if NOTICE in line]
    check(len(notices) == 1, f"the notice spoken once while the alarm fires: {notices}")
    s.type_into({MINUTE: "59"})  # not due: the alarm stops firing once the chime is over
    s.silence(1, 20)
    s.type_into({MINUTE: "30"})  # due again: it begins anew
    s.reader.hears(NOTICE, spoken, 20)


def silenced(s, desktop):  # F10, on to アラームOFF and Enter, with keys only, while the chime plays
    begun = ring(s)
    s.activate(MAIN_TITLE)
    moment = time.monotonic()
    for key in ["F10"] + ["Right"] * 3 + ["Return"]:
        s.key(key)
    s.reader.hears(MENU[0], moment, 30)  # the first command, as F10 opens the bar
    s.reader.hears(MENU[3], moment, 30)
    s.silence(3, 40)
    chimed = [t for t in s.onsets if t >= begun]
    check(len(chimed) % 5 == 0, f"each chime played to its end: {len(chimed)} beeps")


def held(s, desktop):  # while the chime holds it, the program answers and does nothing else
    first = ring(s)
    start, deadline = s.onsets.index(first), time.monotonic() + 30
    s.app.set_cache_mask(Atspi.Cache.NONE)  # every question goes to the program
    readout, hour = s.find(":", "label"), s.find(HOUR, "text")
    answers, pressed = [], None  # answers: (moment, readout, hour field, seconds they took)
    while time.monotonic() < deadline and not (answers and answers[-1][2] != "7"):
        asked = time.monotonic()
        shown = readout.get_name(), Atspi.Text.get_text(hour, 0, -1)
        answers.append((asked, *shown, time.monotonic() - asked))
        if pressed is None and len(s.onsets) > start + 1:  # after the chime's second beep
            pressed = asked
            s.key("space")
        time.sleep(0.02)
    chime = s.onsets[start : start + 6]  # its five beeps, and the next chime's first
    check(len(chime) == 6, f"chimes one after the other: {chime}")
    slowest = max((a[3] for a in answers), default=float("inf"))
    check(slowest < 0.2, f"each answered within 0.2 s, the slowest in {slowest:.2f} s")
    readouts = {a[1] for a in answers if chime[0] < a[0] < chime[4]}
    check(len(readouts) == 1, f"no tick during the chime: {readouts}")
    check(chime[4] < answers[-1][0] < deadline, f"the key taken after the chime: {answers[-1]}")


def time_zone(s, desktop):  # Berlin, at 1:59:58 on the night the clocks go forward
    def shows(readout, title, within=3.0):  # both, within that many seconds
        deadline = time.monotonic() + within
        s.find(readout, "label", within)
        s.find(title, "frame", deadline - time.monotonic())

    shows("1:59:59", "2026/03/29 1:59:59")
    shows("3:0:0", "2026/03/29 3:00:00")
    # As changing the time zone in the desktop's settings does: 3:00 in Berlin is 10:00 in
    # Tokyo, unless TZ names Berlin.
    zone = "mount --bind /usr/share/zoneinfo/Asia/Tokyo /etc/localtime".split()
    subprocess.run(["nsenter", f"--mount=/proc/{s.program.pid}/ns/mnt", *zone], check=True)
    time.sleep(1.2)  # the zone is looked at once a second
    hour = 3 if desktop == "tz_named" else 10
    shows(f"{hour}:0:", f"2026/03/29 {hour}:00:", 0.5)


if __name__ == "__main__":
    faulthandler.dump_traceback_later(100, exit=True)  # where it waits, before CTest ends it
    scenario, desktop = sys.argv[1].split(":")
    settings = dict(DESKTOPS[desktop], **CLOCKS.get(scenario, {}))
    parts = ["Xvfb", "dbus-daemon", "/usr/share/dbus-1/services/org.a11y.Bus.service"]
    parts += [settings.get("wm", "").partition(" ")[0], "fake_time" in settings and FAKETIME]
    parts += [settings.get("platform") == "wayland" and "weston"]
    parts += ["pulseaudio", "parec"] if settings.get("sound", True) else ["xkbevd"]
    parts += ["orca", "speech-dispatcher"] if settings.get("screen_reader") else []
    if missing := [p for p in filter(None, parts) if not (shutil.which(p) or os.path.exists(p))]:
        skip(f"not found: {missing}")
    if scenario == "time_zone" and subprocess.run(["unshare", "-m", "true"]).returncode:
        skip("a mount namespace of its own takes root", tool=False)
    with Session(**settings) as session:
        globals()[scenario](session, desktop)
    print(sys.argv[1], "passed")
