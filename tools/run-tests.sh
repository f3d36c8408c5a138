#!/usr/bin/env bash
# The whole suite, as the README's test command runs it: the Linux program's tests (the `test`
# preset), the Windows program's under Wine (`windows-test`), and the Linux program's again
# under AddressSanitizer and UndefinedBehaviorSanitizer (`asan`). While one preset's tests run,
# the next presets build at the lowest priority, on what the tests leave of the processors: the
# tests that time sounds, speech and answers keep what they need. A background build's output
# goes to build/PRESET.log, and is shown where it fails.
set -uo pipefail
cd "$(dirname "$0")/.."

built() { # waits for the background build of the preset: whether it succeeded
    until [[ -f build/$1.status ]]; do sleep 0.5; done
    [[ $(<"build/$1.status") == 0 ]] && return
    cat "build/$1.log"
    echo "the $1 build failed" >&2
    exit 1
}

for preset in test windows-test asan; do
    rm -f "build/$preset.status"
    cmake --preset "$preset" >/dev/null || exit
done
cmake --build --preset test || exit
for preset in windows-test asan; do
    nice -n 19 cmake --build --preset "$preset" >"build/$preset.log" 2>&1
    echo $? >"build/$preset.status"
done &
status=0
ctest --preset test || status=1
built windows-test
ctest --preset windows-test || status=1
built asan
ctest --preset asan || status=1
exit "$status"
