#!/usr/bin/env bash
# Runs a command with the wine prefix of $WINEPREFIX ready: a persistent wineserver, and wine's
# own services started under the current display, so that each test program starts in a fraction
# of a second and programs that open windows find a desktop. Run it under xvfb-run.
set -u
: "${WINEPREFIX:?WINEPREFIX must name the wine prefix of the build}"
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver -p 2>/dev/null
/usr/lib/wine/wine64 wineboot >/dev/null 2>&1 </dev/null
"$@"
rc=$?
/usr/lib/wine/wineserver -k 2>/dev/null
exit $rc
