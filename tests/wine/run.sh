#!/bin/sh
# Wine for the tests, WINE the wine64 loader and WINEPREFIX its prefix, Wine's server ended
# before and after:
#   run.sh make                 makes the prefix: a fresh Windows for one CTest run
#   run.sh remove               removes it
#   run.sh PROGRAM [ARGUMENT]   runs a Windows test program on an X server of its own
wineserver="$(dirname "$WINE")/wineserver"
"$wineserver" -k 2>/dev/null
trap '"$wineserver" -k 2>/dev/null' EXIT
case "$1" in
make) # with Wine's own fonts, where Debian's Wine does not look for them (Marlett draws the frames)
    rm -rf "$WINEPREFIX" && "$WINE" wineboot --init && "$WINE" reg import "$(dirname "$0")/prefix.reg" &&
        { cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true; } ;;
remove) rm -rf "$WINEPREFIX" ;;
*) xvfb-run -a -s "-nolisten tcp -screen 0 1280x1024x24" "$WINE" "$@" ;;
esac
