# Sourced by the shell tests. `skip REASON` ends a test as skipped (exit 77, which ctest
# shows as Skipped); `needs TOOL...` skips when a tool is not in PATH, but fails where every
# tool has to be there (ALARMCLOCK_REQUIRE_TEST_TOOLS, set by the test presets).
skip() { echo "skipped: $*" && exit 77; }
needs() {
    for tool; do
        command -v "$tool" >/dev/null && continue
        [[ -n ${ALARMCLOCK_REQUIRE_TEST_TOOLS-} ]] && echo "$tool not found in PATH" && exit 1
        skip "$tool not found in PATH"
    done
}
