#!/usr/bin/env bash
# The Debian package as a user gets it: built from this build tree, its launcher entry and
# metadata validated, installed with apt, started, and purged without a trace. Installing
# needs root and a machine without the package (exit 77, skipped, otherwise).
set -euo pipefail
[[ $(id -u) -eq 0 ]] && ! dpkg -s alarmclock >/dev/null 2>&1 || exit 77
rm -rf "$WORK" && mkdir -p "$WORK/root" && cd "$WORK"
"$CPACK" --config "$CPACK_CONFIG" -G DEB -B "$WORK" >/dev/null
deb=$(echo "$WORK"/alarmclock_*.deb)
dpkg-deb -x "$deb" root
desktop-file-validate root/usr/share/applications/*.desktop
appstreamcli validate --no-net root/usr/share/metainfo/*.metainfo.xml >/dev/null
apt-get install -y -qq "$deb" >/dev/null
LANG=ja_JP.UTF-8 timeout 30 xvfb-run -a sh -c \
    'alarmclock & xdotool search --sync --name "\[Hozel\]" >/dev/null && kill $!'
apt-get purge -y -qq alarmclock >/dev/null
left=$(cd root && find . -mindepth 1 ! -type d | cut -c2- | while read -r f; do [[ ! -e $f ]] || echo "$f"; done)
[[ -z $left ]] && ! dpkg -s alarmclock >/dev/null 2>&1 || { echo "left behind: $left"; exit 1; }
echo "package installed, started and purged"
