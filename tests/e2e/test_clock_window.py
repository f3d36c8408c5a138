"""The clock window on a real X server, with the wall clock held still at 10:10:40."""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(__file__))
from harness import Session, wait_for  # noqa: E402

PROGRAM = os.environ.get("CLOCK_PROGRAM", "")
BLUE, YELLOW, ORANGE = (0, 0, 255), (255, 255, 0), (255, 128, 0)
TITLE = "2026/12/05 10:10:40     [Hozel] Ver8.1[win8.1]"


def near(image, x, y, colour, radius=2):
    return any(image.pixel(x + dx, y + dy) == colour
               for dx in range(-radius, radius + 1) for dy in range(-radius, radius + 1)
               if 0 <= x + dx < image.width and 0 <= y + dy < image.height)


class ClockWindow(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = Session(PROGRAM, fake_time="2026-12-05 10:10:40", frozen=True)
        cls.session.__enter__()
        cls.window = cls.session.find_window(r"\[Hozel\]")

    @classmethod
    def tearDownClass(cls):
        cls.session.close()

    def client_area(self):
        """The blue rectangle of the window: the clock face."""
        image = self.session.grab(self.window)
        box = image.bounding_box(BLUE)
        self.assertIsNotNone(box, "no blue face in the window")
        left, top, right, bottom = box
        return image, left, top, right - left + 1, bottom - top + 1

    def assert_face(self, image, left, top, width, height):
        # Marks at the midpoints of the edges, each 1/32 of the side long.
        marks = {"12": (width / 2, height / 64), "3": (width - width / 64, height / 2),
                 "6": (width / 2, height - height / 64), "9": (width / 64, height / 2)}
        for name, (x, y) in marks.items():
            self.assertTrue(near(image, left + int(x), top + int(y), ORANGE),
                            f"no orange mark at {name} o'clock")
        # 40 s: left edge at 13/16 of the height; 10 min: right edge at 3/16;
        # hour 10: left edge at a quarter of the height.
        tips = {"second": (1, height * 13 / 16), "minute": (width - 2, height * 3 / 16),
                "hour": (3, height / 4)}
        for hand, (x, y) in tips.items():
            self.assertTrue(near(image, left + int(x), top + int(y), YELLOW),
                            f"no yellow at the tip of the {hand} hand")

    def test_1_title_face_and_size(self):
        wait_for(lambda: self.session.title_of(self.window) == TITLE, 5,
                 what="the title of the first tick")
        image, left, top, width, height = self.client_area()
        self.assertEqual((width, height), (481, 359))  # 7215 x 5385 twips
        self.assert_face(image, left, top, width, height)

    def test_2_dial_follows_a_resize_within_a_tick(self):
        self.session.resize(self.window, 700, 520)
        time.sleep(0.4)
        image, left, top, width, height = self.client_area()
        self.assertEqual(width, 700)
        self.assert_face(image, left, top, width, height)


if __name__ == "__main__":
    unittest.main()
