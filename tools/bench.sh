#!/usr/bin/env bash
# Builds the benchmarks and prints their table (Markdown) on stdout; progress on stderr.
#   tools/bench.sh [IDLE_SECONDS [RUNS]]          defaults 60 and 5: about 25 minutes
#   tools/bench.sh --wine [IDLE_SECONDS [RUNS]]   the Windows program under Wine; defaults 40
#                                                 and 3: about 10 minutes
# The clock is measured against its floor and a bare window (bench/report.py). Run it as root
# on Debian 12 on an otherwise quiet machine.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ ${1:-} == --wine ]]; then
    shift
    tools/install-deps.sh --bench --windows >&2
    cmake --workflow --preset windows >&2
    cmake --build build/windows --target reference_win32 >&2
    exec /usr/bin/python3 bench/report.py --wine build/windows --idle "${1:-40}" --runs "${2:-3}"
fi
tools/install-deps.sh --bench >&2
cmake --workflow --preset bench >&2
exec /usr/bin/python3 bench/report.py build/bench --idle "${1:-60}" --runs "${2:-5}"
