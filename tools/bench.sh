#!/usr/bin/env bash
# Builds the benchmarks and prints their table (Markdown) on stdout; progress on stderr.
#   tools/bench.sh [IDLE_SECONDS [RUNS]]          defaults 60 and 5: about 25 minutes
#   tools/bench.sh --wine [IDLE_SECONDS [RUNS]]   the Windows program under Wine against a bare
#                                                 Win32 window (bench/wine_report.py); defaults
#                                                 40 and 3: about 9 minutes
# Run it as root on Debian 12 on an otherwise quiet machine.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ${1:-} == --wine ]]; then
    shift
    tools/install-deps.sh --bench --windows >&2
    cmake --workflow --preset windows >&2
    cmake --build build/windows --target bare_window_win32 wine_watch >&2
    exec /usr/bin/python3 bench/wine_report.py build/windows --idle "${1:-40}" --runs "${2:-3}"
fi
tools/install-deps.sh --bench >&2
cmake --workflow --preset bench >&2
/usr/bin/python3 bench/report.py build/bench --idle "${1:-60}" --runs "${2:-5}"
