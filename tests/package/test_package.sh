#!/usr/bin/env bash
# The Debian package as a packager checks it: built from this build tree, passed by lintian
# and hardening-check, its launcher entry and metadata validated, installed with its
# dependencies alone (without the recommended sound server, the X bell is its only sound),
# started, and purged without a trace. Installing needs root and a machine without the
# package (skipped otherwise); whatever happens then, it does not stay installed.
set -euo pipefail
[[ $(id -u) -eq 0 ]] && ! dpkg -s alarmclock >/dev/null 2>&1 ||
    { echo "skipped: installing the package takes root and a machine without it" && exit 77; }
# The same environment whatever the caller's: no display, platform or locale comes from it.
[[ ${1-} == --clean ]] || exec env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME="$WORK" \
    LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive CPACK="$CPACK" CPACK_CONFIG="$CPACK_CONFIG" \
    WORK="$WORK" "$0" --clean
trap 'apt-get purge -y -qq alarmclock >/dev/null 2>&1 || true' EXIT
rm -rf "$WORK" && mkdir -p "$WORK/root" && cd "$WORK"
"$CPACK" --config "$CPACK_CONFIG" -G DEB -B "$WORK" >/dev/null
deb=$(echo "$WORK"/alarmclock_*.deb)
lintian --fail-on error,warning "$deb"
dpkg-deb -x "$deb" root
# Fortified calls are not looked for: the program's copies are the compiler's own, which
# _FORTIFY_SOURCE leaves as they are, so the tool would find only unprotected ones.
hardening-check --quiet --nofortify --nocfprotection root/usr/bin/alarmclock
desktop-file-validate root/usr/share/applications/*.desktop
appstreamcli validate --no-net root/usr/share/metainfo/*.metainfo.xml >/dev/null
apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
LANG=ja_JP.UTF-8 timeout 30 xvfb-run -a sh -c \
    'alarmclock & xdotool search --sync --name "\[Hozel\]" >/dev/null && kill $!'
apt-get purge -y -qq alarmclock >/dev/null
left=$(cd root && find . -mindepth 1 ! -type d | cut -c2- | while read -r f; do [[ ! -e $f ]] || echo "$f"; done)
[[ -z $left ]] && ! dpkg -s alarmclock >/dev/null 2>&1 || { echo "left behind: $left"; exit 1; }
echo "package passed lintian, installed without recommends, started and purged"
