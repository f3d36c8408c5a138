#!/usr/bin/env python3
"""Runs the benchmarks of a `bench` build and prints one Markdown table.

  report.py BUILD_DIR [--idle SECONDS] [--runs N] [--ticks N] [--skip-process]

In-process: the tick of the real windows (median and p99 over single ticks), instructions
per tick under callgrind, one chime pause and its cost per counted step. Whole process,
under one private Xvfb: the clock, `xclock -update 1` and a bare Qt window of the clock
window's size, launched one at a time in alternating order; time from launch to the first
mapped window, RSS and PSS a few seconds after it, and CPU time over SECONDS of idling.
"""

import argparse
import glob
import json
import os
import re
import signal
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, display as xdisplay

ENV = dict(
    os.environ,
    LANG="ja_JP.UTF-8",
    LC_ALL="ja_JP.UTF-8",
    TZ="Asia/Tokyo",
    QT_LOGGING_RULES="*=false",
)
SETTLE = 3.0  # seconds from the mapped window to the memory reading and the idle period


def google_benchmark(binary, pattern, *extra):
    out = subprocess.run(
        [binary, f"--benchmark_filter={pattern}", "--benchmark_format=json", *extra],
        env=ENV,
        check=True,
        capture_output=True,
        text=True,
    ).stdout
    return {b["name"]: b for b in json.loads(out)["benchmarks"]}


def callgrind(binary, scenario, ticks):
    with tempfile.TemporaryDirectory() as work:
        run = subprocess.run(
            [
                "valgrind",
                "--tool=callgrind",
                "--collect-atstart=no",
                f"--callgrind-out-file={work}/cg.out",
                binary,
                "--callgrind",
                scenario,
                str(ticks),
            ],
            env=ENV,
            check=True,
            capture_output=True,
            text=True,
        )
        counts = dict(re.findall(r"(\S+)=(\d+)", run.stdout))
        result = {}
        for path in glob.glob(f"{work}/cg.out*"):
            text = open(path).read()
            trigger = re.search(r"^desc: Trigger: Client Request: (\S+)$", text, re.M)
            totals = re.search(r"^totals: (\d+)", text, re.M)
            if trigger and totals:
                result[trigger.group(1)] = int(totals.group(1)) / int(counts[trigger.group(1)])
        return result


class Server:
    """One Xvfb, watched for windows being mapped."""

    def __init__(self):
        read, write = os.pipe()
        self.proc = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
            pass_fds=[write],
            stderr=subprocess.DEVNULL,
        )
        os.close(write)
        number = b""
        while not number.endswith(b"\n"):
            chunk = os.read(read, 16)
            if not chunk:
                raise RuntimeError("Xvfb did not start")
            number += chunk
        os.close(read)
        self.name = f":{number.decode().strip()}"
        self.display = xdisplay.Display(self.name)
        self.display.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.display.sync()

    def drain(self):
        while self.display.pending_events():
            self.display.next_event()

    def wait_for_map(self, timeout=30.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            while self.display.pending_events():
                event = self.display.next_event()
                if event.type == X.MapNotify and not event.override:
                    return time.monotonic(), event.window
            time.sleep(0.0005)
        raise RuntimeError("no window was mapped")

    def close(self):
        self.display.close()
        self.proc.terminate()
        self.proc.wait()


def cpu_ns(pid):
    total = 0
    for path in glob.glob(f"/proc/{pid}/task/*/schedstat"):
        try:
            total += int(open(path).read().split()[0])
        except (OSError, ValueError):
            pass
    return total


def memory_kib(pid):
    fields = {}
    for line in open(f"/proc/{pid}/smaps_rollup"):
        parts = line.split()
        if parts[0] in ("Rss:", "Pss:"):
            fields[parts[0][:-1]] = int(parts[1])
    return fields["Rss"], fields["Pss"]


def measure(server, command, idle):
    server.drain()
    env = dict(ENV, DISPLAY=server.name)
    start = time.monotonic()
    proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    mapped, window = server.wait_for_map()
    geometry = window.get_geometry()
    time.sleep(SETTLE)
    rss, pss = memory_kib(proc.pid)
    cpu = None
    if idle:
        before = cpu_ns(proc.pid)
        time.sleep(idle)
        cpu = (cpu_ns(proc.pid) - before) / 1e6
    proc.send_signal(signal.SIGTERM)
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
    return {
        "launch_ms": (mapped - start) * 1000,
        "rss": rss / 1024,
        "pss": pss / 1024,
        "cpu_ms": cpu,
        "size": (geometry.width, geometry.height),
    }


def whole_process(clock, bare, runs, idle):
    server = Server()
    results = {"xclock": [], "clock": [], "bare": [], "bare_tick": []}
    size = None
    try:
        for run in range(runs):
            order = ["xclock", "clock", "bare", "bare_tick"]
            if run % 2 == 1:
                order.reverse()
            for name in order:
                command = {
                    "xclock": ["xclock", "-update", "1"],
                    "clock": [clock],
                    "bare": [bare, *map(str, size or (481, 380))],
                    "bare_tick": [bare, *map(str, size or (481, 380)), "tick"],
                }[name]
                figures = measure(server, command, idle if name != "bare" else 0)
                if name == "clock":
                    size = figures["size"]
                results[name].append(figures)
                print(
                    f"  run {run + 1} {name}: "
                    + ", ".join(f"{k}={v:.1f}" for k, v in figures.items() if isinstance(v, float)),
                    file=sys.stderr,
                )
    finally:
        server.close()
    return {
        name: {
            key: statistics.median(r[key] for r in rows)
            for key in ("launch_ms", "rss", "pss", "cpu_ms")
            if rows[0][key] is not None
        }
        for name, rows in results.items()
    }, size


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--idle", type=float, default=60)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--ticks", type=int, default=1000)
    parser.add_argument("--skip-process", action="store_true")
    args = parser.parse_args()
    bench = os.path.join(args.build, "bench")
    rows = []

    def row(measure, clock, reference="", ratio="", target=""):
        rows.append((measure, clock, reference, ratio, target))

    print("tick benchmark ...", file=sys.stderr)
    ticks = google_benchmark(f"{bench}/tick_bench", ".", "--benchmark_min_time=2")
    for name, figures in ticks.items():
        if name.startswith("tick"):
            label = name.split("/min_time")[0].replace("/", ", ").replace("_", " ")
            target = "median ≤ 15 µs" if name.startswith("tick/") else ""
            row(
                f"{label}: median / p99",
                f"{figures['median_us']:.2f} / {figures['p99_us']:.2f} µs",
                target=target,
            )
    reading = ticks["systemClockReading"]
    row("one reading of the system clock", f"{reading['real_time']:.0f} ns")

    print("callgrind ...", file=sys.stderr)
    for scenario in ("no_alarm", "three_alarms"):
        counts = callgrind(f"{bench}/tick_bench", scenario, args.ticks)
        row(
            f"instructions, {scenario.replace('_', ' ')}: tick in a second / any tick / "
            "tick and repaint",
            f"{counts['steady']:,.0f} / {counts['tick']:,.0f} / {counts['tick+paint']:,.0f}",
            target="≤ 4,000",
        )

    print("chime pause ...", file=sys.stderr)
    pause = next(iter(google_benchmark(f"{bench}/engine_bench", "chimePauseCost/").values()))
    row("one chime pause (10,000 × 100,000 counted steps)", f"{pause['real_time']:.0f} ms")
    row("one counted step", f"{pause['s_per_step'] * 1e9:.3f} ns")

    if not args.skip_process:
        print(f"whole process: {args.runs} runs, {args.idle:g} s idle ...", file=sys.stderr)
        medians, size = whole_process(
            f"{args.build}/app/alarmclock", f"{bench}/bare_window", args.runs, args.idle
        )
        clock, xclock, bare = medians["clock"], medians["xclock"], medians["bare"]
        floor = medians["bare_tick"]["cpu_ms"]
        row(
            f"CPU time over {args.idle:g} s idle, the start-up dialog's cursor blinking (vs a bare "
            f"Qt window with an empty 100 ms timer; xclock -update 1: {xclock['cpu_ms']:.1f} ms, "
            f"ratio {clock['cpu_ms'] / xclock['cpu_ms']:.1f})",
            f"{clock['cpu_ms']:.1f} ms",
            f"{floor:.1f} ms",
            f"{clock['cpu_ms'] / floor:.2f}",
            "≤ 1.5",
        )
        for key, label in (("rss", "RSS"), ("pss", "PSS")):
            row(
                f"{label} (vs a bare Qt window {size[0]}×{size[1]}; xclock: {xclock[key]:.1f} MiB)",
                f"{clock[key]:.1f} MiB",
                f"{bare[key]:.1f} MiB",
                f"{clock[key] / bare[key]:.2f}",
                "≤ 1.2" if key == "rss" else "",
            )
        row(
            f"launch to mapped window (vs a bare Qt window; xclock: {xclock['launch_ms']:.0f} ms)",
            f"{clock['launch_ms']:.0f} ms",
            f"{bare['launch_ms']:.0f} ms",
            f"{clock['launch_ms'] / bare['launch_ms']:.2f}",
            "≤ 1.3",
        )

    print("| Measure | Clock | Reference | Ratio | Target |")
    print("|---|---|---|---|---|")
    for r in rows:
        print("| " + " | ".join(r) + " |")


if __name__ == "__main__":
    main()
