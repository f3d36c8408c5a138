"""Fails when a sanitizer left a report in the folder that ASAN_OPTIONS/UBSAN_OPTIONS
name with log_path; prints each report and removes it, so that the next run starts clean."""

import glob
import os
import sys


def log_prefixes():
    for variable in ("ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"):
        for option in os.environ.get(variable, "").split(":"):
            key, _, value = option.partition("=")
            if key == "log_path" and value:
                yield value


def main():
    prefixes = set(log_prefixes())
    if not prefixes:
        print("no log_path in ASAN_OPTIONS or UBSAN_OPTIONS: run through the asan test preset")
        return 1
    reports = sorted({path for prefix in prefixes for path in glob.glob(prefix + ".*")})
    for path in reports:
        with open(path, errors="replace") as report:
            print(f"==== {path}\n{report.read()}")
        os.remove(path)
    print(f"{len(reports)} sanitizer report(s)")
    return 1 if reports else 0


if __name__ == "__main__":
    sys.exit(main())
