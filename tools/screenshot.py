#!/usr/bin/python3
"""Takes the README's screenshot: the clock just after start-up on a private X server,
with the wall clock held at 21:56:38 on 5 December 2026 under Japanese settings.

    tools/screenshot.py build/release/app/alarmclock docs/screenshot.png
"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
from harness import Image, Session  # noqa: E402


def main(program, output):
    with Session(program, fake_time="2026-12-05 21:56:38", frozen=True,
                 screen="800x600x24") as session:
        main_window = session.find_window(r"\[Hozel\]")
        session.find_window(r"^アラーム時刻設定")
        time.sleep(0.5)
        x, y, width, height = session.geometry(main_window)
        margin = 40
        left, top = max(0, x - margin), max(0, y - margin)
        root = session.display.screen().root
        raw = root.get_image(left, top, width + 2 * margin, height + 2 * margin, 2, 0xFFFFFFFF)
        Image(width + 2 * margin, height + 2 * margin, raw.data).save_png(output)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
