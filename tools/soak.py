#!/usr/bin/env python3
"""Runs the clock on a private Xvfb server for a while and reports its resident memory.

    tools/soak.py [--minutes 60] [--program build/release/app/alarmclock]

Every few seconds it types a new text into the focused field of the alarm time dialog,
so that the ticks read changing texts while they redraw the readout, dial and title ten
times a second. The resident set is sampled once a minute; the first sample is taken a
minute after start-up, once the fonts and the platform's caches are loaded. Exits with 1
when the program dies or the resident set at the end exceeds the first sample by more
than --tolerance-kib.
"""

import argparse
import os
import random
import subprocess
import sys
import tempfile
import time

TEXTS = ["7", "30", "", "abc", "１２", "7時", "-", "1e999", "  ", "&H1F", "0.5"]


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise RuntimeError("no VmRSS")


def start_xvfb():
    read_fd, write_fd = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=(write_fd,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_fd)
    with os.fdopen(read_fd) as pipe:
        number = pipe.readline().strip()
    if not number:
        raise RuntimeError("Xvfb did not start")
    return xvfb, f":{number}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--minutes", type=float, default=60)
    parser.add_argument("--program", default="build/release/app/alarmclock")
    parser.add_argument("--tolerance-kib", type=int, default=1024)
    parser.add_argument("--no-typing", action="store_true",
                        help="leave the fields alone (typing grows each field's undo history)")
    args = parser.parse_args()

    xvfb, display = start_xvfb()
    runtime = tempfile.mkdtemp(prefix="soak-")
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime,
               LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8")
    program = subprocess.Popen([args.program], env=env)
    try:
        time.sleep(5)
        # The alarm time dialog: after the first tick the main window's title has changed.
        window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", r"Ver\.10$"],
                                env=env, capture_output=True, text=True,
                                check=True).stdout.split()[0]
        start = time.monotonic()
        end = start + args.minutes * 60
        samples = []
        next_sample = start + 60
        rng = random.Random(1)
        while time.monotonic() < end:
            if program.poll() is not None:
                print(f"the program ended with {program.returncode}")
                return 1
            if not args.no_typing:
                subprocess.run(["xdotool", "windowfocus", "--sync", window, "key", "ctrl+a",
                                "BackSpace", "type", rng.choice(TEXTS)], env=env,
                               check=False, capture_output=True)
            if time.monotonic() >= next_sample:
                samples.append(rss_kib(program.pid))
                print(f"{(time.monotonic() - start) / 60:5.1f} min  RSS {samples[-1]} KiB", flush=True)
                next_sample += 60
            time.sleep(3)
        samples.append(rss_kib(program.pid))
        print(f"RSS first {samples[0]} KiB, last {samples[-1]} KiB, highest {max(samples)} KiB "
              f"over {args.minutes:g} min")
        return 1 if samples[-1] - samples[0] > args.tolerance_kib else 0
    finally:
        program.terminate()
        program.wait()
        xvfb.terminate()
        xvfb.wait()


if __name__ == "__main__":
    sys.exit(main())
