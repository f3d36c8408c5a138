#!/usr/bin/env python3
"""The Windows program under Wine, side by side with a bare Win32 window; Markdown on stdout.

  tools/bench.sh --wine [IDLE_SECONDS [RUNS]]     defaults 40 and 3: about 9 minutes

builds what it needs (the `windows` preset and, by name, bench/bare_window_win32.cpp and
bench/wine_watch.cpp) and runs

  wine_report.py BUILD_DIR [--idle SECONDS] [--runs N] [--launches LAUNCHES]

BUILD_DIR being the `windows` preset's build. One fresh Wine prefix a run, made as the tests
make theirs (tests/wine/run.sh make), with Wine's own desktop on one private Xvfb. The
watcher (wine_watch.exe) is started first and stays up for the whole run, so that Wine's
server and desktop stay up between the programs as Windows' do. Then RUNS times, in
alternating order: the clock (its start-up dialog open, the cursor blinking in its first
field), the bare window with an empty 100 ms timer, the bare window without it, and Wine
alone with nothing shown; and after them LAUNCHES more starts of the clock and of the bare
window, for launch alone. Launch is the time from spawning `wine64 PROGRAM.exe` to its first
visible top-level window, as the watcher sees it; RSS (/proc/PID/status) and PSS
(/proc/PID/smaps_rollup) of the program's own process are read 3 s later, with where its
pages come from (/proc/PID/smaps); CPU time is the run time of all its threads during the
following IDLE_SECONDS, to the nanosecond (their schedstat; utime+stime from /proc/PID/stat,
in 10 ms steps, beside it), and over the same seconds that of the wineserver and of Wine's
other processes (the desktop's explorer.exe, services.exe ...). Medians. The reference is
the bare window: with the timer for CPU time, without it for memory and launch. Two more
tables tell where the memory goes and what Wine itself takes.
"""

import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINE = os.environ.get("WINE", "/usr/lib/wine/wine64")
WINESERVER = os.path.join(os.path.dirname(WINE), "wineserver")
SETTLE = 3.0  # seconds from the shown window to the memory reading and the idle period
TICK = os.sysconf("SC_CLK_TCK")
CLOCK_CLASSES = ("AlarmClock.Clock", "AlarmClock.Dialog")
BARE_CLASS = "AlarmClockBench.Bare"


def log(text):
    print(text, file=sys.stderr, flush=True)


def cpu(pid):
    """The whole process, every thread: its run time in ms, to the nanosecond (schedstat);
    utime + stime in ms, in the kernel's 10 ms steps, which also keep the time of threads
    that ended; and its wake-ups (voluntary context switches)."""
    run = wakes = 0
    try:
        fields = open(f"/proc/{pid}/stat").read().rpartition(")")[2].split()
        for task in os.listdir(f"/proc/{pid}/task"):
            try:
                run += int(open(f"/proc/{pid}/task/{task}/schedstat").read().split()[0])
                wakes += int(
                    re.search(
                        r"^voluntary_ctxt_switches:\s+(\d+)",
                        open(f"/proc/{pid}/task/{task}/status").read(),
                        re.M,
                    )[1]
                )
            except (OSError, ValueError, TypeError):
                pass  # ended meanwhile
    except OSError:
        return 0.0, 0.0, 0
    return run / 1e6, (int(fields[11]) + int(fields[12])) * 1000 / TICK, wakes


def memory_mib(pid):
    rss = int(re.search(r"^VmRSS:\s+(\d+)", open(f"/proc/{pid}/status").read(), re.M)[1])
    pss = int(re.search(r"^Pss:\s+(\d+)", open(f"/proc/{pid}/smaps_rollup").read(), re.M)[1])
    return rss / 1024, pss / 1024


ORIGINS = (
    "Wine's Windows DLLs",
    "Wine's Unix side (loader, ntdll.so, win32u.so, winex11.so)",
    "Unix libraries (libc, X11, fontconfig, freetype ...)",
    "the program's executable",
    "fonts, NLS tables, font caches",
    "shared memory: window surfaces (XShm), the wineserver's mappings",
    "anonymous (heaps, stacks)",
)


def origin(path, program):
    if not path or path.startswith("["):
        return ORIGINS[6]
    if "/x86_64-windows/" in path:
        return ORIGINS[0]
    if "/x86_64-unix/" in path or path.startswith(os.path.dirname(WINE) + "/"):
        return ORIGINS[1]
    if os.path.basename(path) == os.path.basename(program):
        return ORIGINS[3]
    if re.search(r"\.so(\.\d+)*$", path):
        return ORIGINS[2]
    if path.startswith(("/tmp/wine-", "/SYSV", "/dev/shm", "/memfd:")):
        return ORIGINS[5]
    return ORIGINS[4]


def image_size(program):
    """SizeOfImage from the PE header: the span that Wine's loader gives the executable."""
    with open(program, "rb") as pe:
        header = pe.read(4096)
    optional = int.from_bytes(header[0x3C:0x40], "little") + 24
    return int.from_bytes(header[optional + 56 : optional + 60], "little")


def breakdown(pid, program):
    """RSS in MiB by where the pages come from, and the files mapped of each kind. Wine reads
    the sections of an executable whose file alignment is below a page (MinGW's) into
    anonymous memory: its image is told by its span, from the mapping of its header on."""
    rss, files, kind = dict.fromkeys(ORIGINS, 0.0), {o: set() for o in ORIGINS}, None
    image = None
    for line in open(f"/proc/{pid}/smaps"):
        if mapping := re.match(r"^([0-9a-f]+)-[0-9a-f]+ (?:\S+ ){4}\s*(.*)$", line):
            start, path = int(mapping[1], 16), mapping[2].strip()
            if image is None and os.path.basename(path) == os.path.basename(program):
                image = (start, start + image_size(program))
            kind = ORIGINS[3] if image and image[0] <= start < image[1] else origin(path, program)
            files[kind].add(os.path.basename(path))
        elif line.startswith("Rss:"):
            rss[kind] += int(line.split()[1]) / 1024
    return rss, files


class Session:
    """A fresh prefix, one Xvfb that holds Wine's desktop, and the watcher inside Wine."""

    def __init__(self):
        self.tmp = tempfile.mkdtemp(prefix="alarmclock-wine-bench-")
        self.prefix = os.path.join(self.tmp, "prefix")
        self.env = {
            k: v
            for k, v in os.environ.items()
            if not k.startswith(("DISPLAY", "WAYLAND_", "WINE", "QT_", "DBUS_"))
        }
        self.env.update(
            HOME=self.tmp,
            XDG_RUNTIME_DIR=self.tmp,
            WINE=WINE,
            WINEPREFIX=self.prefix,
            WINEDEBUG="-all",
            WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml=d",
            LANG="ja_JP.UTF-8",
            LC_ALL="ja_JP.UTF-8",
            TZ="Asia/Tokyo",
        )
        self.xvfb = self.watcher = None
        self.facts = {}

    def start(self, build):
        start = time.monotonic()
        subprocess.run(
            [os.path.join(ROOT, "tests/wine/run.sh"), "make"],
            env=self.env,
            check=True,
            stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL,
        )
        self.facts["prefix_s"] = time.monotonic() - start
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-screen", "0", "1280x1024x24"],
            pass_fds=[write],
            stderr=subprocess.DEVNULL,
        )
        os.close(write)
        with os.fdopen(read) as display:
            number = display.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = ":" + number
        start = time.monotonic()
        self.watcher = subprocess.Popen(
            [WINE, os.path.join(build, "bench/wine_watch.exe")],
            env=self.env,
            stdin=subprocess.PIPE,
            stdout=subprocess.PIPE,
            stderr=subprocess.DEVNULL,
            text=True,
        )
        self.ask("close", "none")
        self.facts["session_s"] = time.monotonic() - start

    def ask(self, *words):
        self.watcher.stdin.write(" ".join(words) + "\n")
        self.watcher.stdin.flush()
        return self.reply(*words)

    def reply(self, *words):  # the watcher's next line
        answer = self.watcher.stdout.readline().split()
        if not answer or answer[0] in ("error", "timeout"):
            raise RuntimeError(f"the watcher, asked {words}: {answer}")
        return answer

    def wine_processes(self):
        """pid -> name of every process of this prefix: the wineserver and the Windows ones."""
        found = {}
        for pid in filter(str.isdigit, os.listdir("/proc")):
            try:
                if (
                    f"WINEPREFIX={self.prefix}\0".encode()
                    in open(f"/proc/{pid}/environ", "rb").read()
                ):
                    found[int(pid)] = open(f"/proc/{pid}/comm").read().strip()
            except OSError:
                pass
        return found

    def server(self):
        return next(
            pid for pid, name in self.wine_processes().items() if name.startswith("wineserver")
        )

    def close(self):  # ends every process of the prefix, then the X server
        if self.watcher:
            try:
                self.watcher.stdin.close()
                self.watcher.wait(10)
            except (OSError, subprocess.TimeoutExpired):
                self.watcher.kill()
        subprocess.run([WINESERVER, "-k"], env=self.env, stderr=subprocess.DEVNULL)
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait()
        shutil.rmtree(self.tmp, ignore_errors=True)


def launch(session, program, arguments, classes):
    """Starts the program; returns it, its own process, and the launch time in ms."""
    session.ask("wait", *classes)
    start = time.monotonic()
    proc = subprocess.Popen(
        [WINE, program, *arguments],
        env=session.env,
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    first = session.reply("wait", *classes)[1]  # "shown CLASS ..."
    shown = time.monotonic()
    # wine64 loads Wine into itself and becomes the program's process, named after it: the
    # pid stays (Debian's Wine has no preloader to exec).
    name = os.path.basename(program)[:15]
    pid = proc.pid
    if open(f"/proc/{pid}/comm").read().strip() != name:
        pid = next(p for p, n in session.wine_processes().items() if n == name)
    return proc, pid, (shown - start) * 1000, first


def end(session, proc, main_class):
    session.ask("close", main_class)
    try:
        proc.wait(timeout=10)
    except subprocess.TimeoutExpired:
        proc.kill()
        proc.wait()
    time.sleep(2.0)  # Wine tidies up after it before the next one starts


def idle_cpu(session, idle, pid=None):
    """Over IDLE seconds: the program's (run time, utime+stime, wake-ups), the wineserver's
    (run time, wake-ups), and the run time of Wine's other processes by name (the watcher,
    blocked on its input, among them)."""
    others = {
        p: n
        for p, n in session.wine_processes().items()
        if p != pid and not n.startswith("wineserver")
    }
    server = session.server()
    before = {p: cpu(p) for p in [pid, server, *others] if p}
    time.sleep(idle)
    used = {p: tuple(a - b for a, b in zip(cpu(p), was)) for p, was in before.items()}
    per_other = {}
    for p, name in others.items():
        per_other[name] = per_other.get(name, 0) + used[p][0]
    return used.get(pid, (0, 0, 0)), used[server][::2], per_other


def program_of(name, build):
    """The command line of "clock", "bare_tick" or "bare", and the window classes to wait for."""
    if name == "clock":
        return [os.path.join(build, "app/alarmclock.exe")], CLOCK_CLASSES
    return (
        [os.path.join(build, "bench/bare_window_win32.exe")]
        + (["tick"] if name == "bare_tick" else []),
        (BARE_CLASS,),
    )


def measure(session, name, build, idle):
    figures = {}
    if name != "wine":
        (program, *arguments), classes = program_of(name, build)
        proc, pid, launch_ms, first = launch(session, program, arguments, classes)
        time.sleep(SETTLE)
        session.ask("wait", classes[0])
        size = tuple(map(int, session.reply("wait", classes[0])[2:4]))
        rss, pss = memory_mib(pid)
        figures = {
            "launch_ms": launch_ms,
            "rss": rss,
            "pss": pss,
            "size": size,
            "first": first,
            "origins": breakdown(pid, program),
        }
    if name != "bare":
        program_use, server_use, others = idle_cpu(session, idle, pid if figures else None)
        figures.update(
            cpu_ms=program_use[0],
            stat_ms=program_use[1],
            wakes=program_use[2] / idle,
            server_ms=server_use[0],
            server_wakes=server_use[1] / idle,
            others_ms=sum(others.values()),
            others=others,
        )
    if name != "wine":
        end(session, proc, classes[0])
    return figures


def wine_memory(session):
    """RSS and PSS (MiB) of Wine's own processes, by name."""
    memory = {}
    for pid, name in session.wine_processes().items():
        try:
            rss, pss = memory_mib(pid)
        except (OSError, TypeError):
            continue
        before = memory.get(name, (0, 0, 0))
        memory[name] = (before[0] + rss, before[1] + pss, before[2] + 1)
    return memory


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--idle", type=float, default=40)
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument(
        "--launches",
        type=int,
        default=4,
        help="more starts of the clock and the bare window a run, launch only",
    )
    args = parser.parse_args()
    build = os.path.abspath(args.build)

    loads = [os.getloadavg()[0]]  # other work on the machine spreads the figures
    log("a fresh Wine prefix and Wine's desktop on a private Xvfb ...")
    session = Session()
    results = {"clock": [], "bare_tick": [], "bare": [], "wine": []}
    try:
        session.start(build)
        # The first start of a program in a fresh prefix also fills Wine's caches (its font
        # list in the registry): told apart, not counted.
        first = {}
        for name in ("clock", "bare"):
            (program, *arguments), classes = program_of(name, build)
            proc, _, first[name], _ = launch(session, program, arguments, classes)
            time.sleep(SETTLE)
            end(session, proc, classes[0])
        log(
            f"  prefix {session.facts['prefix_s']:.1f} s, Wine's session "
            f"{session.facts['session_s']:.1f} s, first starts: clock {first['clock']:.0f} ms, "
            f"bare window {first['bare']:.0f} ms"
        )
        alone_memory = wine_memory(session)
        log(f"{args.runs} runs, {args.idle:g} s idle ...")
        for run in range(args.runs):
            order = list(results)
            if run % 2 == 1:
                order.reverse()
            for name in order:
                figures = measure(session, name, build, args.idle)
                figures["launches"] = [figures["launch_ms"]] if "launch_ms" in figures else []
                results[name].append(figures)
                log(
                    f"  run {run + 1} {name}: "
                    + ", ".join(
                        f"{k} {v:.1f}" if isinstance(v, float) else f"{k} {v}"
                        for k, v in figures.items()
                        if k not in ("origins", "others", "launches")
                    )
                    + "".join(f", {n} {v:.1f}" for n, v in figures.get("others", {}).items() if v)
                )
            # Launch spreads most: more starts, in pairs of alternating order.
            for pair in range(args.launches):
                for name in ("clock", "bare")[:: 1 if (run + pair) % 2 else -1]:
                    (program, *arguments), classes = program_of(name, build)
                    proc, _, launch_ms, _ = launch(session, program, arguments, classes)
                    end(session, proc, classes[0])
                    results[name][-1]["launches"].append(launch_ms)
    finally:
        session.close()
    loads.append(os.getloadavg()[0])

    report(results, first, alone_memory, session.facts, loads, args)


def report(results, first, alone_memory, facts, loads, args):
    keys = (
        "launch_ms",
        "rss",
        "pss",
        "cpu_ms",
        "stat_ms",
        "wakes",
        "server_ms",
        "server_wakes",
        "others_ms",
    )
    med = {
        name: {key: statistics.median(r[key] for r in rows) for key in keys if key in rows[0]}
        for name, rows in results.items()
    }
    for name in ("clock", "bare"):  # over every start, the extra ones too
        launches = [ms for r in results[name] for ms in r["launches"]]
        med[name]["launch_ms"] = statistics.median(launches)
        log(f"  {name}, launches: " + ", ".join(f"{ms:.0f}" for ms in launches))
    for name, rows in results.items():  # the spread behind each median
        log(
            f"  {name}, lowest to highest: "
            + ", ".join(
                f"{key} {min(r[key] for r in rows):.1f} to {max(r[key] for r in rows):.1f}"
                for key in keys
                if key in rows[0]
            )
        )
    clock, tick, bare, alone = med["clock"], med["bare_tick"], med["bare"], med["wine"]
    for name in ("clock", "bare_tick", "wine"):
        med[name]["all_ms"] = sum(med[name].get(k, 0) for k in ("cpu_ms", "server_ms", "others_ms"))
    size, clock_size = results["bare"][0]["size"], results["clock"][0]["size"]
    idle = f"{args.idle:g} s"
    rows = []

    def row(label, key, against, unit, digits=1):
        a, b = clock[key], against[key]
        rows.append(
            (
                label,
                f"{a:.{digits}f} {unit}",
                f"{b:.{digits}f} {unit}",
                f"{a / b:.2f}" if b >= 1 else "–",
            )
        )  # none against next to nothing

    row(
        f"CPU time over {idle} idle, the program's own Wine process, every thread (vs a bare "
        f"Win32 window with an empty 100 ms timer; utime+stime: {clock['stat_ms']:.0f} against "
        f"{tick['stat_ms']:.0f} ms)",
        "cpu_ms",
        tick,
        "ms",
    )
    row(
        "voluntary context switches a second of the program's own process: its wake-ups, and "
        "its waits for the wineserver's answers",
        "wakes",
        tick,
        "/ s",
    )
    row(
        f"wineserver's CPU time over the same {idle} (Wine alone, nothing shown: "
        f"{alone['server_ms']:.1f} ms)",
        "server_ms",
        tick,
        "ms",
    )
    row(
        f"wineserver's voluntary context switches a second (Wine alone: "
        f"{alone['server_wakes']:.1f})",
        "server_wakes",
        tick,
        "/ s",
    )
    row(
        f"CPU time of Wine's other processes over the same {idle}: its desktop (explorer.exe), "
        f"services.exe ... (Wine alone: {alone['others_ms']:.1f} ms)",
        "others_ms",
        tick,
        "ms",
    )
    row(
        f"all three together over {idle} (Wine alone: {alone['all_ms']:.1f} ms)",
        "all_ms",
        tick,
        "ms",
    )
    for key, label in (("rss", "RSS"), ("pss", "PSS")):
        row(
            f"{label} of the program's own Wine process (vs a bare Win32 window, client area "
            f"{size[0]}×{size[1]} with the clock's menu bar; with the timer: {tick[key]:.1f} MiB)",
            key,
            bare,
            "MiB",
        )
    row(
        f"launch, `wine64 PROGRAM.exe` to its first visible window, {args.launches + 1} starts a "
        "run (vs a bare Win32 window; with the timer, one start a run: "
        f"{tick['launch_ms']:.0f} ms)",
        "launch_ms",
        bare,
        "ms",
        0,
    )
    print(
        f"Medians of {args.runs} runs; the clock window's client area {clock_size[0]}×"
        f"{clock_size[1]}; load average {loads[0]:.2f} at the start, {loads[1]:.2f} at the end "
        f"on {os.cpu_count()} cores.\n"
    )
    print("| Measure | Clock | Reference | Ratio |")
    print("|---|---|---|---|")
    for r in rows:
        print("| " + " | ".join(r) + " |")

    # Where the working set comes from: the last run's, the clock against the bare window.
    (clock_rss, clock_files), (bare_rss, bare_files) = (
        results[n][-1]["origins"] for n in ("clock", "bare")
    )
    print("\n| RSS by origin (last run) | Clock | Bare window |")
    print("|---|---|---|")
    for o in ORIGINS:
        files = (lambda f: f" ({len(f[o])} files)") if o in ORIGINS[:3] else (lambda f: "")
        print(
            f"| {o} | {clock_rss[o]:.1f} MiB{files(clock_files)} | "
            f"{bare_rss[o]:.1f} MiB{files(bare_files)} |"
        )
    extra = sorted(clock_files[ORIGINS[0]] - bare_files[ORIGINS[0]])
    print(
        f"\nWine's Windows DLLs that the clock maps and the bare window does not: "
        f"{', '.join(extra) or 'none'}."
    )

    print("\n| Wine itself | |")
    print("|---|---|")
    print(f"| a fresh prefix (`tests/wine/run.sh make`) | {facts['prefix_s']:.1f} s |")
    print(
        f"| Wine's session started in it, to a console program's first answer | "
        f"{facts['session_s']:.1f} s |"
    )
    print(
        f"| first start in the fresh prefix, to the first visible window: the clock, then the "
        f"bare window | {first['clock']:.0f} ms, {first['bare']:.0f} ms |"
    )
    total = [0.0, 0.0]
    for name, (rss, pss, count) in sorted(alone_memory.items()):
        print(
            f"| {name}{f' (×{count})' if count > 1 else ''}, nothing shown: RSS / PSS | "
            f"{rss:.1f} / {pss:.1f} MiB |"
        )
        total = [total[0] + rss, total[1] + pss]
    print(
        f"| all of Wine's processes, the watcher among them, nothing shown: RSS / PSS | "
        f"{total[0]:.1f} / {total[1]:.1f} MiB |"
    )
    others = {}
    for r in results["wine"]:
        for n, v in r["others"].items():
            others.setdefault(n, []).append(v)
    busy = [
        f"{n} {statistics.median(v):.1f} ms"
        for n, v in others.items()
        if statistics.median(v) >= 0.05
    ]
    print(
        f"| Wine alone, CPU time over {idle}: the wineserver; its other processes "
        f"({', '.join(others)}) | {alone['server_ms']:.1f} ms; {alone['others_ms']:.1f} ms"
        + (f" ({', '.join(busy)})" if busy else "")
        + " |"
    )


if __name__ == "__main__":
    main()
