#!/bin/sh
# A virtual X display and a Wine prefix with the X11 driver, for window tests
# that read back what is drawn (Wine's null driver draws nothing).
#
#   pixel_display.sh start STATE   start Xvfb on a free display, ready the prefix
#   pixel_display.sh run STATE PROGRAM [ARGS...]   run a Windows program there
#   pixel_display.sh stop STATE    end the prefix's Wine session and Xvfb
#
# STATE is a folder of the build tree; it holds the display number and the
# Xvfb process id. The prefix, build/wineprefix-pixels, is kept between runs.
# Wine draws the window frames itself (X11 driver Decorated=N, Managed=N).
set -u
command=$1 state=$2
shift 2
top=$(cd "$(dirname "$0")/../.." && pwd)
prefix="$top/build/wineprefix-pixels"
launcher="$top/tools/wine-run.sh"

# The Xvfb of an earlier run that did not stop (its id, if it is still one).
stop_xvfb() {
  pid=$(cat "$state/xvfb.pid" 2>/dev/null) || return 0
  [ "$(cat "/proc/$pid/comm" 2>/dev/null)" = Xvfb ] && kill "$pid"
  rm -f "$state/xvfb.pid"
}

on_display() {
  DISPLAY=":$(cat "$state/display")" SORV_WINEPREFIX="$prefix" WINEPREFIX="$prefix" "$@"
}

case "$command" in
  start)
    mkdir -p "$state"
    # A session left from an earlier run would still talk to its display.
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
    stop_xvfb
    rm -f "$state/display"
    # -displayfd: Xvfb takes the first free display and writes its number
    # once it accepts clients, so that parallel runs never collide.
    setsid Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$state/display" </dev/null >/dev/null 2>&1 &
    echo $! >"$state/xvfb.pid"
    for _ in $(seq 100); do
      [ -s "$state/display" ] && break
      sleep 0.1
    done
    [ -s "$state/display" ] || { echo "pixel_display: Xvfb did not start" >&2; exit 1; }
    on_display "$launcher" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 &&
      on_display "$launcher" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || exit 1
    on_display "$launcher" reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f >/dev/null 2>&1
    # One Wine session for all the tests of the run.
    on_display setsid wineserver -p </dev/null >/dev/null 2>&1
    echo "pixel_display: DISPLAY=:$(cat "$state/display")"
    ;;
  run)
    exec env DISPLAY=":$(cat "$state/display")" SORV_WINEPREFIX="$prefix" WINEPREFIX="$prefix" "$launcher" "$@"
    ;;
  stop)
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
    stop_xvfb
    rm -f "$state/display"
    ;;
  *)
    echo "usage: pixel_display.sh start|run|stop STATE [PROGRAM ARGS...]" >&2
    exit 64
    ;;
esac
