#!/bin/sh
# Runs a Windows test program under Wine (WINE, the wine64 loader) on an X server of its own,
# Wine's server and desktop started for it and ended after it.
#   run.sh PROGRAM [ARGUMENT...]
wineserver="$(dirname "$WINE")/wineserver"
"$wineserver" -k 2>/dev/null
xvfb-run -a -s "-nolisten tcp -screen 0 1280x1024x24" "$WINE" "$@"
status=$?
"$wineserver" -k 2>/dev/null
exit $status
