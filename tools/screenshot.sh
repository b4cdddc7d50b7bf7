#!/usr/bin/env bash
# Starts sorv.exe under Wine on a virtual X display, waits for a window, saves
# a screenshot of the whole screen and closes the program.
#
#   tools/screenshot.sh OUT.png [ARGS...]
#
# ARGS go to sorv.exe (a file to split opens the slice-size dialog). Optional:
#   SORV_SHOT_WAIT=TITLE   the window title to wait for (default "Sorv")
#   SORV_SHOT_KEYS="..."   xdotool key names sent before the shot (e.g. "Return")
#   SORV_SHOT_MOUSE="..."  an xdotool command chain run after the keys, in
#                          screen coordinates (e.g. "mousemove 210 150 mousedown 1")
#   SORV_SHOT_DELAY=S      seconds between the keys and the shot (default 1)
#   SORV_SHOT_EXE=NAME     another program of build/win64/bin (default sorv.exe)
#   SORV_SHOT_DISPLAY=N    the Xvfb display number (default 97)
#   SORV_SHOT_PREFIX=DIR   the Wine prefix (default build/wineprefix-shot); an
#                          exported WINEPREFIX is not taken: the shot ends
#                          every program of its prefix and changes its driver
# Wine draws the window frames itself (X11 driver Decorated=N, Managed=N), in
# a prefix of its own so the headless test prefix keeps its null driver, and
# not ./run.sh's: the Wine session is ended after the shot, with every
# program of its prefix. Two people taking screenshots at once give each
# their own display and prefix.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
[ $# -ge 1 ] || { echo "usage: tools/screenshot.sh OUT.png [ARGS...]" >&2; exit 64; }
out=$(realpath -m "$1"); shift
exe="$top/build/win64/bin/${SORV_SHOT_EXE:-sorv.exe}"
[ -f "$exe" ] || "$top/tools/build.sh" win64
for tool in Xvfb xdotool import wine wineserver; do
  command -v "$tool" >/dev/null || "$top/tools/setup.sh"
done

# Wine takes only an absolute prefix.
WINEPREFIX=$(realpath -m "${SORV_SHOT_PREFIX:-$top/build/wineprefix-shot}")
if grep -qs '"Graphics"="null"' "$WINEPREFIX/user.reg"; then
  # A test prefix: switching it to drawing would change what its tests run on.
  echo "screenshot: $WINEPREFIX uses Wine's null driver (a test prefix); give another SORV_SHOT_PREFIX" >&2
  exit 64
fi
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
number=${SORV_SHOT_DISPLAY:-97}
display=":$number"
# Keys and clicks sent to someone else's display would act on their programs.
if [ -e "/tmp/.X$number-lock" ]; then
  echo "screenshot: display $display is taken; give another SORV_SHOT_DISPLAY" >&2
  exit 64
fi
Xvfb "$display" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() { wineserver -k >/dev/null 2>&1 || true; kill "$xvfb" 2>/dev/null || true; }
trap cleanup EXIT
export DISPLAY="$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
kill -0 "$xvfb" 2>/dev/null || { echo "screenshot: Xvfb did not start on $display" >&2; exit 1; }

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
# Debian's Wine does not find its own fonts (Marlett draws the caption
# buttons, Tahoma the captions); give the prefix a copy.
[ -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ] ||
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1 || true

(cd "$(dirname "$exe")" && wine "$exe" "$@" >/dev/null 2>&1) &
title=${SORV_SHOT_WAIT:-Sorv}
found=""
for _ in $(seq 300); do
  if xdotool search --name "^${title}\$" >/dev/null 2>&1; then found=1; break; fi
  sleep 0.1
done
[ -n "$found" ] || { echo "screenshot: no window \"$title\" appeared" >&2; exit 1; }
sleep 1
if [ -n "${SORV_SHOT_KEYS:-}" ]; then
  # shellcheck disable=SC2086
  xdotool key --delay 200 $SORV_SHOT_KEYS
  sleep "${SORV_SHOT_DELAY:-1}"
fi
if [ -n "${SORV_SHOT_MOUSE:-}" ]; then
  # shellcheck disable=SC2086
  xdotool $SORV_SHOT_MOUSE
  sleep "${SORV_SHOT_DELAY:-1}"
fi
import -window root "$out"
echo "screenshot: $out"
