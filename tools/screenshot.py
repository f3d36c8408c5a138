#!/usr/bin/python3
# Takes the README's screenshot: the clock just after start-up on a private X server, the
# wall clock at 21:56:38 on 5 December 2026, under Japanese settings. Needs the test packages.
#   PYTHONPATH=tests/support tools/screenshot.py build/release/app/alarmclock docs/screenshot.png

import os
import struct
import sys
import time
import zlib

from harness import MAIN_TITLE, Session

os.environ["CLOCK_PROGRAM"] = sys.argv[1]
with Session(sound=False, fake_time="2026-12-05 21:56:35") as s:
    s.find("アラーム時刻 時", "text")
    time.sleep(3.5)
    window = s.x_window(MAIN_TITLE)
    origin, size = window.translate_coords(s.x.screen().root, 0, 0), window.get_geometry()
    left, top, width, height = -origin.x - 40, -origin.y - 40, size.width + 80, size.height + 80
    raw = s.x.screen().root.get_image(left, top, width, height, 2, 0xFFFFFFFF).data
rows = b"".join(
    b"\0" + bytes(c for i in range(width) for c in raw[(r * width + i) * 4 :][:3][::-1])
    for r in range(height)
)


def chunk(kind, payload):
    return (
        struct.pack(">I", len(payload))
        + kind
        + payload
        + struct.pack(">I", zlib.crc32(kind + payload))
    )


with open(sys.argv[2], "wb") as out:
    out.write(
        b"\x89PNG\r\n\x1a\n"
        + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
        + chunk(b"IDAT", zlib.compress(rows, 9))
        + chunk(b"IEND", b"")
    )
