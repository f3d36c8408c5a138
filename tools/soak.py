#!/usr/bin/python3
# A soak of the real program on a private X server: its resident memory once a minute while
# the alarm hour field is edited every few seconds (--no-typing leaves it alone). Fails when
# the memory grows by more than a MiB. Not part of CI; it needs the test packages:
#   tools/soak.py MINUTES PROGRAM [--no-typing]

import os
import random
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "e2e"))
from harness import Session  # noqa: E402

minutes, os.environ["CLOCK_PROGRAM"] = float(sys.argv[1]), sys.argv[2]
with Session(sound=False) as s:

    def rss():
        with open(f"/proc/{s.program.pid}/status") as status:
            return int(next(line for line in status if line.startswith("VmRSS")).split()[1])

    samples, start, texts = [rss()], time.monotonic(), ["7", "", "abc", "１２", "7時", "1e999"]
    while time.monotonic() < start + minutes * 60:
        if "--no-typing" not in sys.argv:
            s.type_into("アラーム時刻 時", random.choice(texts))
        time.sleep(3)
        if time.monotonic() > start + 60 * len(samples):
            samples.append(rss())
            print(f"{len(samples) - 1:4d} min  RSS {samples[-1]} KiB", flush=True)
print(f"RSS first {samples[0]} KiB, last {samples[-1]} KiB, highest {max(samples)} KiB")
sys.exit(samples[-1] - samples[0] > 1024)
