"""The beep as a user hears it: the real program on a private X server, its sound
recorded from a private sound server's silent sink, or its X bells counted when no sound
server answers, and the program watched while the sound server is frozen.

When the engine asks for a beep is known from outside: the interval and presentation
alarms ask in the tick that first falls in a new second, and that tick also sets the
window title, which the X server stamps; a button's beep is asked for when its key
arrives, which is after the moment the test sends it. The chime asks for its beeps while
the tick counts and sets no title, so there the test traces the program's main thread and
takes the moments at which it hands a request to the beep worker.
"""

import os
import statistics
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from harness import Session, wait_for  # noqa: E402
from sound_harness import (BeepRequestTracer, BellListener, Recorder, SoundServer,  # noqa: E402
                           TitleWatcher, menu_item_centres, xdotool)

PROGRAM = os.environ.get("CLOCK_PROGRAM", "")
LATENCY = 0.25  # a beep starts at most this long after it was asked for
EARLY = 0.02    # title stamps come a little after the beep request of their tick
INTERVAL, PRESENTATION, ALARM_TIME, ALARM_OFF, END = range(5)
latencies = {}  # sound or X bell: delays from request to sound


class ClockUnderTest:
    """The running program and the user's hands on it."""

    def __init__(self, env, fake_time=None):
        self.session = Session(PROGRAM, fake_time=fake_time, extra_env=env)
        self.session.__enter__()
        self.display = self.session.display_name
        self.main = self.session.find_window(r"\[Hozel\]")
        self.session.find_window(r"^アラーム時刻設定")
        wait_for(lambda: len(menu_item_centres(self.session.grab(self.main))) == 5, 10,
                 what="the menu bar")
        self.menu = menu_item_centres(self.session.grab(self.main))
        self.titles = TitleWatcher(self.display, self.main.id)

    def close(self):
        self.titles.close()
        self.session.close()

    def keys(self, *names):
        xdotool(self.display, "key", "--delay", "30", *names)

    def type(self, text):
        xdotool(self.display, "type", "--delay", "30", text)

    def press(self):
        """Presses the focused button a third into a second, so that the key arrives
        before the next second begins; returns a moment before the press."""
        since = time.monotonic()
        change = wait_for(lambda: (self.titles.after(since - 1.0) or [None])[-1], 5,
                          what="a tick of a new second")
        if time.monotonic() > change + 0.4:
            change = wait_for(lambda: (self.titles.after(since) or [None])[0], 5,
                              what="a tick of a new second")
        time.sleep(max(0.0, change + 0.3 - time.monotonic()))
        moment = time.monotonic()
        self.keys("space")
        return moment

    def choose(self, item):
        x, y, _, _ = self.session.geometry(self.main)
        moment = time.monotonic()
        xdotool(self.display, "mousemove", str(x + self.menu[item]), str(y + 10), "click", "1")
        return moment

    def start_interval(self, seconds):
        self.choose(INTERVAL)
        self.session.find_window(r"^時間間隔")
        time.sleep(0.3)
        # Focus starts in the seconds field; the button comes next, the minutes last.
        self.type(str(seconds))
        self.keys("Tab", "Tab")
        self.type("0")
        self.keys("shift+Tab")
        return self.press()

    def start_presentation(self, *bells):
        self.choose(PRESENTATION)
        self.session.find_window(r"^発表時間設定")
        time.sleep(0.3)
        for minutes, seconds in bells:
            self.type(str(minutes))
            self.keys("Tab")
            self.type(str(seconds))
            self.keys("Tab")
        return self.press()

    def arm_alarm(self, hour, minute):
        self.type(str(hour))
        self.keys("Tab")
        self.type(str(minute))
        self.keys("Tab")
        return self.press()

    def new_seconds(self, after, count, timeout=15):
        """The times of the first `count` title changes after a moment: the ticks that
        fall in the 1st, 2nd, ... new second."""
        return wait_for(lambda: (lambda c: c[:count] if len(c) >= count else None)(
            self.titles.after(after)), timeout, what=f"{count} new seconds")

    def exits_within(self, seconds):
        try:
            self.session.app.wait(timeout=seconds)
            return True
        except Exception:
            return False


def sounds_between(onsets, start, end):
    return [t for t in onsets if start <= t <= end]


class BeepCase(unittest.TestCase):
    def assert_on_time(self, heard, asked, what):
        base = asked[0]
        self.assertEqual(len(heard), len(asked),
                         f"{what}: heard at {[round(t - base, 3) for t in heard]} s, asked "
                         f"for at {[round(t - base, 3) for t in asked]} s")
        for when, request in zip(heard, asked):
            delay = when - request
            latencies.setdefault("X bell" if "X bell" in what else "sound", []).append(delay)
            self.assertGreaterEqual(delay, -EARLY, f"{what}: a beep {-delay:.3f} s before "
                                    "its request")
            self.assertLessEqual(delay, LATENCY, f"{what}: a beep {delay:.3f} s late")


class WithSoundServer(BeepCase):
    def setUp(self):
        self.server = SoundServer().start()
        self.addCleanup(self.server.close)
        self.recorder = Recorder(self.server)
        self.addCleanup(self.recorder.close)

    def onsets(self, since):
        beeps = self.recorder.beeps(since)
        for _, length in beeps:
            self.assertAlmostEqual(length, 0.12, delta=0.03, msg=f"a beep of {length} s")
        return [onset for onset, _ in beeps]

    def test_interval_presentation_and_end(self):
        clock = ClockUnderTest(self.server.client_env())
        self.addCleanup(clock.close)

        # Interval 0 min 2 s: the button's beep, then one beep at every 2nd new second.
        pressed = clock.start_interval(2)
        seconds = clock.new_seconds(pressed, 7)
        time.sleep(max(0.0, seconds[-1] + 0.4 - time.monotonic()))
        off = clock.choose(ALARM_OFF)
        time.sleep(2.6)  # longer than an interval: nothing more comes
        heard = sounds_between(self.onsets(pressed - 0.05), pressed - 0.05, off + 2.5)
        self.assert_on_time(heard, [pressed] + seconds[1:7:2], "interval alarm")

        # Bells at 2, 2 and 4 s: bell 1 and bell 2 ask in the same tick and are heard as
        # two beeps; bell 2 again a second later; bell 3 three times, one a second.
        pressed = clock.start_presentation((0, 2), (0, 2), (0, 4))
        seconds = clock.new_seconds(pressed, 8)
        time.sleep(max(0.0, seconds[-1] + 0.5 - time.monotonic()))
        heard = self.onsets(pressed - 0.05)
        asked = [pressed, seconds[1], seconds[1], seconds[2], seconds[3], seconds[4], seconds[5]]
        self.assert_on_time(heard, asked, "presentation alarm")

        # "終了" ends the program at once.
        clock.choose(END)
        self.assertTrue(clock.exits_within(2.0), "the program did not end")

    def test_time_alarm_chime(self):
        clock = ClockUnderTest(self.server.client_env(),
                               fake_time="2026-12-05 10:10:50")
        self.addCleanup(clock.close)
        tracer = BeepRequestTracer(clock.session.app.pid)
        self.addCleanup(tracer.close)
        pressed = clock.arm_alarm(10, 11)
        # The alarm fires in the first tick of 10:11:00, whose title is set after the chime;
        # the next tick starts the next chime.
        chime_end = wait_for(lambda: next((t for t, title in list(clock.titles.changes)
                                           if "10:11:" in title), None), 60,
                             what="the end of the first chime")
        time.sleep(0.3)
        asked = [t for t in tracer.requests() if pressed <= t < chime_end]
        self.assertEqual(len(asked), 6, "the button's beep and the chime's five")
        heard = sounds_between(self.onsets(pressed - 0.05), pressed - 0.05, chime_end)
        print(f"chime: asked for at {[round(t - asked[1], 3) for t in asked[1:]]} s, "
              f"heard at {[round(t - asked[1], 3) for t in heard[1:]]} s", file=sys.stderr)
        self.assert_on_time(heard, asked, "button and chime")

class WithoutSoundServer(BeepCase):
    """The sound server is gone: every beep rings the X bell instead."""

    def test_bells_instead(self):
        server = SoundServer().start()
        self.addCleanup(server.close)
        clock = ClockUnderTest(server.client_env())
        self.addCleanup(clock.close)
        bells = BellListener(clock.display)
        self.addCleanup(bells.close)
        server.close()

        pressed = clock.start_interval(2)
        seconds = clock.new_seconds(pressed, 5)
        time.sleep(max(0.0, seconds[-1] + 0.4 - time.monotonic()))
        off = clock.choose(ALARM_OFF)
        time.sleep(2.6)
        heard = sounds_between(bells.bells, pressed - 0.05, off + 2.5)
        self.assert_on_time(heard, [pressed, seconds[1], seconds[3]], "interval alarm, X bell")

        pressed = clock.start_presentation((0, 1), (0, 1), (0, 3))
        seconds = clock.new_seconds(pressed, 7)
        time.sleep(max(0.0, seconds[-1] + 0.5 - time.monotonic()))
        heard = sounds_between(bells.bells, pressed - 0.05, time.monotonic())
        asked = [pressed, seconds[0], seconds[0], seconds[1], seconds[2], seconds[3], seconds[4]]
        self.assert_on_time(heard, asked, "presentation alarm, X bell")


class FrozenSoundServer(unittest.TestCase):
    """The sound server stops answering: the clock goes on, takes commands and ends."""

    def test_clock_goes_on(self):
        server = SoundServer().start()
        self.addCleanup(server.close)
        recorder = Recorder(server)
        self.addCleanup(recorder.close)
        clock = ClockUnderTest(server.client_env())
        self.addCleanup(clock.close)
        bells = BellListener(clock.display)
        self.addCleanup(bells.close)

        pressed = clock.start_interval(1)
        clock.new_seconds(pressed, 2)
        time.sleep(0.5)
        self.assertGreaterEqual(len(recorder.beeps(pressed - 0.05)), 2, "no sound before")

        server.freeze()
        frozen = time.monotonic()
        time.sleep(6)
        off = clock.choose(ALARM_OFF)
        time.sleep(4)
        ticks = [frozen] + clock.titles.after(frozen)
        gaps = [b - a for a, b in zip(ticks, ticks[1:])] + [time.monotonic() - ticks[-1]]
        self.assertLess(max(gaps), 1.5, "the clock stopped ticking")
        self.assertGreaterEqual(len(ticks), 10)
        # Beeps that the server does not take ring the X bell, late but heard; the alarm's
        # stop is taken at once and its beeps end within the bounded queue.
        self.assertGreaterEqual(len(sounds_between(bells.bells, frozen, off)), 2)
        self.assertEqual(sounds_between(bells.bells, off + 2.5, time.monotonic()), [])

        ended = clock.choose(END)
        self.assertTrue(clock.exits_within(2.0), "the program hung on the frozen server")
        print(f"ended {time.monotonic() - ended:.3f} s after the click", file=sys.stderr)


if __name__ == "__main__":
    try:
        unittest.main()
    finally:
        for kind, delays in latencies.items():
            print(f"{kind}: {len(delays)} beeps, from request to start median "
                  f"{statistics.median(delays) * 1000:.0f} ms, worst "
                  f"{max(delays) * 1000:.0f} ms", file=sys.stderr)
