#!/bin/sh
# Runs a Windows program under Wine in the project's own prefix (created on
# first use), quietly and without the Mono/Gecko installers.
top=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${SORV_WINEPREFIX:-$top/build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
exec wine "$@"
