# Sourced by the shell tests: `needs TOOL...` ends a test as skipped (exit 77, which ctest
# shows as Skipped) when a tool is not in PATH, but as failed where every tool has to be
# there (ALARMCLOCK_REQUIRE_TEST_TOOLS, set by the test presets).
needs() {
    for tool; do
        command -v "$tool" >/dev/null && continue
        echo "$tool not found in PATH" && exit $((${ALARMCLOCK_REQUIRE_TEST_TOOLS:-0} ? 1 : 77))
    done
}
