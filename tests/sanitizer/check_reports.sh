#!/bin/sh
# Fails when a sanitizer left a report in the folder (the asan test preset's log_path) and
# shows it; the reports are removed, so that the next run starts clean.
reports=$(ls "$1"/* 2>/dev/null)
[ -z "$reports" ] && echo "no sanitizer report" && exit 0
cat $reports && rm -f $reports && exit 1
