#!/usr/bin/env bash
# The whole suite, as the README's test command runs it: the Linux program's tests (the `test`
# preset), the same again under AddressSanitizer and UndefinedBehaviorSanitizer (`asan`), and
# the Windows program's under Wine (`windows-test`). The builds that no running test waits for
# go on meanwhile at the lowest priority, on what the tests leave of the processors: the tests
# that time sounds, speech and answers keep what they need. Each build's output goes to
# build/PRESET.log, and is shown where the build fails.
set -uo pipefail
cd "$(dirname "$0")/.."

build() { # in the background, at the lowest priority
    nice -n 19 cmake --build --preset "$1" >"build/$1.log" 2>&1 &
    building[$1]=$!
}
built() { # once the background build is over: whether it succeeded
    wait "${building[$1]}" && return
    cat "build/$1.log"
    echo "the $1 build failed" >&2
    exit 1
}

declare -A building
for preset in test asan windows-test; do
    cmake --preset "$preset" >/dev/null || exit
done
cmake --build --preset test || exit
build asan
build windows-test
status=0
ctest --preset test || status=1
built asan
ctest --preset asan || status=1
built windows-test
ctest --preset windows-test || status=1
exit "$status"
