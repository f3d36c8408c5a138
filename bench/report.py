#!/usr/bin/env python3
"""Measures the clock against its references; one Markdown table on stdout, progress on stderr.

  report.py [--wine] BUILD_DIR [--idle SECONDS] [--runs N] [--ticks N] [--skip-process]

BUILD_DIR: the `bench` preset's build, or with --wine the `windows` preset's. On Linux first the
tick of the real windows (median and p99 of single ticks), its instructions under callgrind and
the chime's pause. Then the clock, its floor and the bare window with and without an empty
100 ms timer (bench/reference*.cpp), one at a time on a private Xvfb, RUNS rounds in
alternating order, medians: launch to the first shown window, RSS and PSS SETTLE seconds later,
and the run time of all the process's threads over the IDLE seconds that follow.
"""

import argparse
import glob
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from Xlib import X, display

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINE = os.environ.get("WINE", "/usr/lib/wine/wine64")
ENV = dict(os.environ, LANG="ja_JP.UTF-8", LC_ALL="ja_JP.UTF-8", TZ="Asia/Tokyo")
ENV.update(QT_LOGGING_RULES="*=false")
SETTLE = 3.0
PROGRAMS = ("clock", "floor", "tick", "bare")  # tick: the bare window with its empty timer


def log(text):
    print(text, file=sys.stderr, flush=True)


def output(*command, env=ENV):
    return subprocess.run(command, env=env, check=True, capture_output=True, text=True).stdout


def callgrind(binary, scenario, ticks):
    """Instructions a tick in each dump that the benchmark makes."""
    with tempfile.TemporaryDirectory() as work:
        options = ["--tool=callgrind", "--collect-atstart=no", f"--callgrind-out-file={work}/cg"]
        out = output("valgrind", *options, binary, "--callgrind", scenario, str(ticks))
        counts, result = dict(re.findall(r"(\S+)=(\d+)", out)), {}
        for text in (open(path).read() for path in glob.glob(f"{work}/cg*")):
            if dump := re.search(r"^desc: Trigger: Client Request: (\S+)$", text, re.M):
                total = int(re.search(r"^totals: (\d+)", text, re.M)[1])
                result[dump[1]] = total / int(counts[dump[1]])
        return result


def in_process(binary, ticks):
    rows = []

    def row(label, value, target=""):
        rows.append((label, value, "", "", "", "", target))

    log("tick benchmark ...")
    out = output(binary, "--benchmark_format=json", "--benchmark_min_time=2")
    figures = {b["name"].split("/min_time")[0]: b for b in json.loads(out)["benchmarks"]}
    for name, f in figures.items():
        if name.startswith("tick"):
            value = f"{f['median_us']:.2f} / {f['p99_us']:.2f} µs"
            target = "" if "paint" in name else "median ≤ 15 µs"
            row(name.replace("/", ", ").replace("_", " ") + ": median / p99", value, target)
    row("one reading of the system clock", f"{figures['systemClockReading']['real_time']:.0f} ns")
    pause = figures["chimePauseCost/iterations:3"]
    lasted = f"{pause['real_time']:.0f} ms ({pause['cpu_time']:.0f} ms of CPU time)"
    row("one chime pause (10,000 × 100,000 counted steps)", lasted)
    row("one counted step, of CPU time", f"{pause['s_per_step'] * 1e9:.3f} ns")
    log("callgrind ...")
    for scenario in ("no_alarm", "three_alarms"):
        c = callgrind(binary, scenario, ticks)
        row(
            f"instructions, {scenario.replace('_', ' ')}: tick in a second / any tick / "
            "tick and repaint",
            f"{c['steady']:,.0f} / {c['tick']:,.0f} / {c['tick+paint']:,.0f}",
            "≤ 4,000",
        )
    return rows


class Session:
    """The Linux programs on a private Xvfb; a program shows when X maps its first window."""

    programs, loader = ("app/alarmclock", "bench/reference"), ()
    pause = 0.0  # seconds after a program ends
    framed = True  # by a window manager: override-redirect windows are no program's first

    def __init__(self, build, env=ENV):
        read, write = os.pipe()
        xvfb = f"Xvfb -displayfd {write} -screen 0 1280x1024x24 -nolisten tcp".split()
        self.xvfb = subprocess.Popen(xvfb, pass_fds=[write], stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as pipe:
            self.env = dict(env, DISPLAY=":" + pipe.readline().strip())
        clock, reference = ([*self.loader, f"{build}/{program}"] for program in self.programs)
        self.commands = {"clock": clock, "floor": reference}
        self.commands.update(tick=reference + ["tick"], bare=reference + ["bare"])
        self.x = display.Display(self.env["DISPLAY"])
        self.watch(self.x.screen().root)

    def watch(self, window):
        window.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.x.sync()

    def launch(self, name):
        """Starts a program: its process and the time to its first window in ms."""
        while self.x.pending_events():
            self.x.next_event()
        start = time.monotonic()
        proc = subprocess.Popen(self.commands[name], env=self.env, stdout=subprocess.DEVNULL)
        while time.monotonic() < start + 60:
            while self.x.pending_events():
                event = self.x.next_event()
                if event.type == X.MapNotify and not (self.framed and event.override):
                    return proc, (time.monotonic() - start) * 1000
            time.sleep(0.0005)
        raise RuntimeError(f"{name} showed no window")

    def end(self, proc):
        proc.terminate()
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
        time.sleep(self.pause)

    def close(self):
        self.x.close()
        self.xvfb.kill()
        self.xvfb.wait()


class WineSession(Session):
    """The Windows programs in a fresh prefix, made as the tests make theirs, with Wine's own
    desktop on the Xvfb, which frames the programs' windows itself. Debian's wine64 loads Wine
    into itself and becomes the program's process."""

    programs, loader = ("app/alarmclock.exe", "bench/reference_win32.exe"), (WINE,)
    pause = 1.0  # Wine tidies up after a program
    framed = False

    def __init__(self, build):
        self.tmp = tempfile.mkdtemp(prefix="alarmclock-wine-bench-")
        env = {k: v for k, v in ENV.items() if not k.startswith(("DISPLAY", "WINE", "QT_"))}
        env.update(HOME=self.tmp, WINE=WINE, WINEPREFIX=f"{self.tmp}/prefix", WINEDEBUG="-all")
        env.update(WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml=d")
        output(f"{ROOT}/tests/wine/run.sh", "make", env=env)
        super().__init__(build, env)
        # Wine's desktop shows with the first window; a console waiting on its input keeps it
        # and Wine's server up between the programs, as Windows' are.
        self.console = subprocess.Popen(
            [WINE, "cmd"], env=self.env, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL
        )
        self.end(self.launch("bare")[0])
        for window in self.x.screen().root.query_tree().children:
            if "Wine desktop" in str(window.get_wm_name()):
                self.watch(window)

    def close(self):
        self.console.stdin.close()
        self.console.wait(10)
        subprocess.run([os.path.join(os.path.dirname(WINE), "wineserver"), "-k"], env=self.env)
        super().close()
        shutil.rmtree(self.tmp, ignore_errors=True)


def cpu_ms(pid):
    total = 0
    for path in glob.glob(f"/proc/{pid}/task/*/schedstat"):
        try:
            total += int(open(path).read().split()[0])
        except (OSError, ValueError):
            pass  # a thread that ended meanwhile
    return total / 1e6


def measure(session, name, idle):
    proc, launch = session.launch(name)
    time.sleep(SETTLE)
    rollup = open(f"/proc/{proc.pid}/smaps_rollup").read()
    figures = {"launch": launch}
    for key in ("Rss", "Pss"):
        figures[key.lower()] = int(re.search(rf"^{key}:\s+(\d+)", rollup, re.M)[1]) / 1024
    if idle:
        before = cpu_ms(proc.pid)
        time.sleep(idle)
        figures["cpu"] = cpu_ms(proc.pid) - before
    session.end(proc)
    return figures


def whole_process(session, runs, idle):
    """The clock against its floor and the bare window, as table rows, from the medians."""
    for name in PROGRAMS:  # a first start fills the caches, Wine's font list among them
        session.end(session.launch(name)[0])
    rounds = {name: [] for name in PROGRAMS}
    for run in range(runs):
        for name in PROGRAMS[:: -1 if run % 2 else 1]:
            rounds[name].append(figures := measure(session, name, 0 if name == "bare" else idle))
            log(f"  run {run + 1} {name}: " + ", ".join(f"{k} {v:.1f}" for k, v in figures.items()))
    clock, floor, tick, bare = (
        {key: statistics.median(r[key] for r in rounds[name]) for key in rounds[name][0]}
        for name in PROGRAMS
    )
    idle_cpu = f"CPU time over {idle:g} s idle, the program's process"
    shown = f"{SETTLE:g} s after the first window shows"
    return [
        (label, f"{clock[key]:.1f} {unit}", f"{floor[key]:.1f} {unit}",
         f"{clock[key] / floor[key]:.2f}", f"{against[key]:.1f} {unit}",
         f"{clock[key] / against[key]:.2f}", target and "÷ floor ≤ " + target)
        for key, label, unit, against, target in (
            ("cpu", idle_cpu, "ms", tick, "1.2"),
            ("rss", "RSS, " + shown, "MiB", bare, "1.2"),
            ("pss", "PSS, " + shown, "MiB", bare, ""),
            ("launch", "launch to the first window shown", "ms", bare, "1.3"),
        )
    ]  # fmt: skip


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--wine", action="store_true", help="the Windows build, under Wine")
    parser.add_argument("--idle", type=float, default=60)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--ticks", type=int, default=1000)
    parser.add_argument("--skip-process", action="store_true")
    args = parser.parse_args()
    build, load = os.path.abspath(args.build), os.getloadavg()[0]
    rows = [] if args.wine else in_process(f"{build}/bench/clock_bench", args.ticks)
    if args.wine or not args.skip_process:
        log(f"whole process: {args.runs} runs, {args.idle:g} s idle ...")
        session = (WineSession if args.wine else Session)(build)
        try:
            rows += whole_process(session, args.runs, args.idle)
        finally:
            session.close()
    print(
        f"{time.strftime('%Y-%m-%d')}, {os.cpu_count()} cores, load average {load:.2f} at the "
        f"start and {os.getloadavg()[0]:.2f} at the end; medians of {args.runs} runs.\n"
    )
    print("| Measure | Clock | Floor | Clock ÷ floor | Bare window | Clock ÷ bare | Target |")
    print("|---|---|---|---|---|---|---|")
    for row in rows:
        print("| " + " | ".join(row) + " |")


if __name__ == "__main__":
    main()
