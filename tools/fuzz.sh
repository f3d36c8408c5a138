#!/usr/bin/env bash
# A long fuzz run of one target (value or engine), on all cores but one:
#   tools/fuzz.sh engine 3600
# Builds the targets with clang into build/fuzz. New inputs go to build/fuzz/found/<target>;
# a failing input is written to build/fuzz/crashes/. To keep new seeds, merge them into
# the kept corpus:
#   build/fuzz/fuzz_<target> -merge=1 tests/fuzz/corpus/<target> build/fuzz/found/<target>
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: $0 value|engine [seconds]}
seconds=${2:-3600}
cmake -S tests/fuzz/targets -B build/fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/fuzz
mkdir -p "build/fuzz/found/$target" build/fuzz/crashes
jobs=$(($(nproc) > 1 ? $(nproc) - 1 : 1))
exec "build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=512 -print_final_stats=1 \
    -fork="$jobs" -artifact_prefix=build/fuzz/crashes/ \
    "build/fuzz/found/$target" "tests/fuzz/corpus/$target"
