#!/usr/bin/env bash
# A long fuzz run of one target (value or engine) with libFuzzer, on all cores but one:
#   tools/fuzz.sh engine 3600
# New inputs go to build/fuzz/found/<target>, a failing input to build/fuzz/crashes/. To
# keep new seeds: build/fuzz/fuzz_<target> -merge=1 tests/fuzz/corpus/<target> build/fuzz/found/<target>
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: $0 value|engine [seconds]}
tools/install-deps.sh --fuzz
mkdir -p "build/fuzz/found/$target" build/fuzz/crashes
clang++-14 -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -I. engine/*.cpp \
    "tests/fuzz/fuzz_$target.cpp" -o "build/fuzz/fuzz_$target"
exec "build/fuzz/fuzz_$target" -max_total_time="${2:-3600}" -max_len=512 -print_final_stats=1 \
    -fork="$(($(nproc) > 1 ? $(nproc) - 1 : 1))" -artifact_prefix=build/fuzz/crashes/ \
    "build/fuzz/found/$target" "tests/fuzz/corpus/$target"
