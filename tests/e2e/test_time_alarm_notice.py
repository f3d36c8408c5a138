"""The time alarm, set and watched through AT-SPI, writes its notice at the alarm time.

The wall clock starts at 07:29:45 and runs. The alarm is set to 7:30 in the alarm time
dialog and then muted with "アラームOFF", which keeps the chime from playing (it would hold
up the program, and with it the accessibility interface) but still lets the notice appear.
The main window's title carries the program's time of day, which tells when the notice
came.
"""

import os
import re
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from accessibility import ProgramTest, children, descendants  # noqa: E402

START = "2026-12-05 07:29:45"
ALARM = (7, 30)
NOTICE = "時間ですよ！"
TITLE_TIME = re.compile(r"^2026/12/05 (\d+):(\d\d):(\d\d) ")


class TimeAlarmNotice(ProgramTest):
    FAKE_TIME = START
    LISTEN_FOR_BELLS = True

    @classmethod
    def prepare(cls):
        cls.form1 = cls.atspi.window(cls.app, "アラーム時刻設定 Ver.10")

    def program_time(self):
        """(hour, minute, second) shown in the main window's title."""
        title = self.main.name
        # The client reads an unanswered call as an empty name.
        self.assertNotEqual(title, "", "the program does not answer (is the chime playing?)")
        match = TITLE_TIME.search(title)
        self.assertIsNotNone(match, f"no time of day in the title {title!r}")
        return tuple(int(part) for part in match.groups())

    def notice_shown(self):
        return any(a.getRoleName() == "label" and a.name == NOTICE
                   for a in descendants(self.form1))

    def test_notice_appears_at_the_alarm_time_while_muted(self):
        atspi = self.atspi
        hour = atspi.control(self.form1, atspi.pyatspi.ROLE_TEXT, "アラーム時刻 時")
        minute = atspi.control(self.form1, atspi.pyatspi.ROLE_TEXT, "アラーム時刻 分")
        set_button = atspi.control(self.form1, atspi.pyatspi.ROLE_PUSH_BUTTON, "時刻設定")
        bar = next(a for a in children(self.main) if a.getRoleName() == "menu bar")
        alarm_off = next(a for a in children(bar) if a.name == "アラームOFF")

        atspi.set_text(hour, str(ALARM[0]))
        atspi.set_text(minute, str(ALARM[1]))
        pressed = time.monotonic()
        atspi.press(set_button)
        # Setting the alarm is acknowledged with one beep. A button's press action clicks
        # it a moment later, so the beep also tells that the alarm is armed: muting it
        # before that would be undone by the click.
        self.bells.wait_for(1, since=pressed, timeout=5)
        atspi.press(alarm_off)
        self.assertLess(self.program_time(), (7, 30, 0),
                        "the program reached the alarm time before the alarm was muted")
        self.assertFalse(self.notice_shown(), "the notice is there before the alarm time")

        # Watch the title and the notice until the notice comes. A notice seen while the
        # title, read after it, still shows 7:29 came early; no notice while the title,
        # read before it, shows 7:30:02 or later came late (a tick and a bit of grace).
        deadline = time.monotonic() + 30
        while True:
            before = self.program_time()
            shown = self.notice_shown()
            after = self.program_time()
            if shown:
                self.assertGreaterEqual(after, (7, 30, 0), "the notice came before 7:30")
                self.assertLess(before, (7, 31, 0), "the notice came after 7:30")
                break
            self.assertLess(before, (7, 30, 2), "no notice at 7:30")
            self.assertLess(time.monotonic(), deadline, "no notice within 30 s")
            time.sleep(0.2)

        self.assertEqual(len(self.bells.times(since=pressed)), 1,
                         "bells besides the acknowledgement of 時刻設定")
        # The notice stays, and the fields keep what was typed.
        time.sleep(1.5)
        self.assertTrue(self.notice_shown(), "the notice went away")
        self.assertEqual((atspi.text_of(hour), atspi.text_of(minute)), ("7", "30"))


if __name__ == "__main__":
    unittest.main()
