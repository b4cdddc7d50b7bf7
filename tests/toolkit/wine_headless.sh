#!/bin/sh
# Windows need a display driver under Wine. With no X display the prefix uses
# Wine's null driver, which creates windows and runs messages without drawing.
# The driver is chosen when a Wine session starts its desktop, so a session
# started before the setting is ended once (this test runs alone).
# $1: the Wine launcher (tools/wine-run.sh).
[ -n "$DISPLAY" ] && exit 0
launcher=$1
export WINEPREFIX="${SORV_WINEPREFIX:-$(cd "$(dirname "$launcher")/.." && pwd)/build/wineprefix}"
key='HKCU\Software\Wine\Drivers'
if "$launcher" reg query "$key" /v Graphics 2>/dev/null | grep -q 'null'; then
  exit 0
fi
"$launcher" reg add "$key" /v Graphics /d null /f >/dev/null 2>&1 || exit 1
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
exit 0
