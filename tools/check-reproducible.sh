#!/usr/bin/env bash
# Builds the release artefacts of the commit checked out here twice and compares them byte for
# byte: the Debian package, the Windows program and its installer. Each build runs in a fresh
# clone of its own, the two at paths of different lengths, and the second a day later by the
# clock that it sees (libfaketime; without it, simply later). Where two files differ, diffoscope
# says what differs, and the script exits 1.
#   tools/check-reproducible.sh [--keep]   --keep: leave the clones, their logs and the reports
# Needs what tools/install-deps.sh --release installs. Uncommitted changes are not checked.
set -euo pipefail

keep=false
case "${1-}" in
--keep) keep=true ;;
"") ;;
*)
    echo "usage: $0 [--keep]" >&2
    exit 2
    ;;
esac

repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
commit=$(git -C "$repo" rev-parse HEAD)
work=$(mktemp -d /tmp/alarmclock-reproducible.XXXXXX)
if $keep; then
    echo "clones, logs and reports: $work"
else
    trap 'rm -rf "$work"' EXIT
fi
[[ -z $(git -C "$repo" status --porcelain --untracked-files=no) ]] ||
    echo "note: uncommitted changes are not part of the check of $commit"

# The first build where it runs now; the second at a longer path, a day on.
faketime=$(find /usr/lib -path '*/faketime/libfaketimeMT.so.1' -print -quit)
build() { # FOLDER: clones the commit there and builds every artefact as the README says
    git clone -q "$repo" "$1" && git -C "$1" checkout -q --detach "$commit"
    (
        cd "$1"
        nice cmake --workflow --preset release && (cd build/release && nice cpack -G DEB) &&
            nice cmake --workflow --preset windows
    ) >"$1.log" 2>&1 || {
        tail -n 30 "$1.log"
        echo "the build in $1 failed (its log: $1.log)" >&2
        exit 1
    }
}
first=$work/a
second=$work/second-build-at-a-longer-path
start=$(date +%s)
build "$first"
if [[ -n $faketime ]]; then
    export LD_PRELOAD=$faketime FAKETIME=+1d FAKETIME_DONT_FAKE_MONOTONIC=1
    build "$second"
    unset LD_PRELOAD FAKETIME
    echo "built $commit in $first, and a day later (libfaketime) in $second"
else
    build "$second"
    echo "built $commit in $first, and $(($(date +%s) - start)) s later in $second (no libfaketime)"
fi

# diffoscope reads no installer's archive: 7z unpacks it, beside a list of the times it keeps.
unpack() { # SETUP FOLDER
    7z x -y -o"$2" "$1" >/dev/null
    7z l -slt "$1" | sed -n '/^----------$/,$p' | grep -E '^(Path|Size|Modified|Attributes) = ' \
        >"$2/7z-listing.txt"
}

status=0
cd "$first"
for artefact in build/release/*.deb build/windows/app/alarmclock.exe build/windows/*-setup.exe; do
    if cmp -s "$artefact" "$second/$artefact"; then
        echo "identical  $(sha256sum "$artefact" | cut -c1-64)  $(stat -c %s "$artefact") B  $artefact"
        continue
    fi
    status=1
    echo "DIFFERENT  $artefact"
    report=$work/$(basename "$artefact").diffoscope.txt
    a=$artefact b=$second/$artefact
    if [[ $artefact == *-setup.exe ]] && command -v 7z >/dev/null; then
        a=$work/setup.a b=$work/setup.b
        unpack "$artefact" "$a" && unpack "$second/$artefact" "$b"
    fi
    if command -v diffoscope >/dev/null; then
        nice diffoscope --text "$report" --max-text-report-size 200000 \
            --exclude-directory-metadata=yes "$a" "$b" >/dev/null 2>&1 || true
        head -n 60 "$report"
        $keep && echo "(the whole report: $report)"
    else
        echo "diffoscope is missing (tools/install-deps.sh --release installs it): no report"
    fi
done
exit "$status"
