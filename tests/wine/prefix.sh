#!/bin/sh
# Makes (make) or removes (remove) the Wine prefix that WINEPREFIX names, with WINE the
# wine64 loader: a fresh Windows for one CTest run.
set -eu
wineserver="$(dirname "$WINE")/wineserver"
case "$1" in
make)
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    "$WINE" wineboot --init
    "$WINE" reg import "$(dirname "$0")/prefix.reg"
    # Wine's own fonts, where Debian's Wine does not look for them: the frames' buttons are
    # drawn with Marlett.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    "$wineserver" -k # its desktop has no display: each test starts Wine afresh on its own
    ;;
remove)
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    ;;
esac
