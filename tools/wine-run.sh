#!/bin/sh
# Runs a Windows program under Wine in the project's own prefix (created on
# first use), quietly and without the Mono/Gecko installers. A prefix made
# without an X display uses Wine's null driver: windows and messages work,
# nothing is drawn.
top=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${SORV_WINEPREFIX:-${WINEPREFIX:-$top/build/wineprefix}}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  # Debian's Wine does not find its own fonts (Marlett draws the caption
  # buttons, Tahoma the captions); give the prefix a copy.
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
  if [ -z "$DISPLAY" ]; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    wineserver -k >/dev/null 2>&1
  fi
  wineserver -w
fi
exec wine "$@"
