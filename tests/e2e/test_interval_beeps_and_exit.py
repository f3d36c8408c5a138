"""The interval alarm and the exit command, driven through AT-SPI and heard on the X server.

With 0 minutes 2 seconds in the interval dialog, "START" beeps once as its
acknowledgement and the alarm then beeps every two seconds; "アラームOFF" silences it.
"終了" ends the program at once, even with dialogs open and an alarm running.
Every bell is taken as the X server sees it.
"""

import os
import subprocess
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from accessibility import ProgramTest, children  # noqa: E402

INTERVAL = 2.0
SLACK = 0.6


class IntervalBeepsAndExit(ProgramTest):
    LISTEN_FOR_BELLS = True

    @classmethod
    def prepare(cls):
        bar = next(a for a in children(cls.main) if a.getRoleName() == "menu bar")
        cls.menu = {item.name: item for item in children(bar)}
        cls.atspi.press(cls.menu["アラーム間隔設定"])
        cls.form2 = cls.atspi.window(cls.app, "時間間隔Ver.10")

    def control(self, role, name):
        return self.atspi.control(self.form2, getattr(self.atspi.pyatspi, role), name)

    def set_interval(self, minutes, seconds):
        self.atspi.set_text(self.control("ROLE_TEXT", "間隔 分"), minutes)
        self.atspi.set_text(self.control("ROLE_TEXT", "間隔 秒"), seconds)

    def start(self):
        """Presses START; returns the time of its acknowledgement beep."""
        pressed = time.monotonic()
        self.atspi.press(self.control("ROLE_PUSH_BUTTON", "START"))
        acknowledgement = self.bells.wait_for(1, since=pressed, timeout=5)[0]
        self.assertLess(acknowledgement - pressed, 1.5, "START was acknowledged late")
        return acknowledgement

    def test_1_two_seconds_interval_beeps_every_two_seconds(self):
        self.set_interval("0", "2")
        acknowledgement = self.start()
        beeps = self.bells.wait_for(4, since=acknowledgement, timeout=12)[1:]
        # The second of the press is not counted: the first interval beep comes when the
        # second whole second after it begins, one to two seconds after the press.
        first = beeps[0] - acknowledgement
        self.assertTrue(1.0 - SLACK <= first <= INTERVAL + SLACK,
                        f"first interval beep {first:.2f} s after START")
        gaps = [later - earlier for earlier, later in zip(beeps, beeps[1:])]
        for gap in gaps:
            self.assertAlmostEqual(gap, INTERVAL, delta=SLACK,
                                   msg=f"interval beeps {[f'{g:.2f}' for g in gaps]} s apart")

    def test_2_alarm_off_silences_the_interval_alarm(self):
        self.atspi.press(self.menu["アラームOFF"])
        silent_from = time.monotonic() + 0.3  # a bell already on its way may still arrive
        time.sleep(2 * INTERVAL + 1)
        self.assertEqual(self.bells.times(since=silent_from), [],
                         "bells after アラームOFF")

    def test_3_exit_ends_the_program_with_an_alarm_running(self):
        program = self.session.app
        self.set_interval("0", "2")
        acknowledgement = self.start()
        self.bells.wait_for(2, since=acknowledgement, timeout=5)  # the alarm runs again
        for title in ("時間間隔Ver.10", "アラーム時刻設定 Ver.10"):
            self.atspi.window(self.app, title)  # both dialogs are open
        try:
            self.atspi.press(self.menu["終了"])
        except Exception:
            pass  # the program may end before it answers
        try:
            code = program.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.fail("the program still runs 5 s after 終了")
        self.assertEqual(code, 0)


if __name__ == "__main__":
    unittest.main()
