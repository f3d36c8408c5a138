#!/usr/bin/env bash
# Builds the benchmarks and prints their table (Markdown) on stdout; progress on stderr.
#   tools/bench.sh [IDLE_SECONDS [RUNS]]   defaults 60 and 5: about 25 minutes
# Run it as root on Debian 12 on an otherwise quiet machine.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --bench
cmake --workflow --preset bench >&2
/usr/bin/python3 bench/report.py build/bench --idle "${1:-60}" --runs "${2:-5}"
