#!/usr/bin/env bash
# The Windows program under Wine, each measure against a reference taken in
# the same run:
#   start-up    sorv.exe to its main window shown, against a program with the
#               same DLLs and manifest that only shows a window;
#   GUI split   600 MiB at 1.4 Mo in sorv.exe, from "&Ok" to the script,
#               against sorv-cli.exe on the same file under the same Wine;
#   stall       the longest answer of the main window to WM_NULL, sent every
#               20 ms during those splits (a window that does not answer for
#               5 s is "not responding");
#   file layer  the engine's split and join on the Win32 file layer against a
#               plain ReadFile/WriteFile copier with the same fingerprints;
#   size        sorv.exe as shipped (stripped).
#
#   bench/gui.sh            (SORV_BENCH_MIB=600 SORV_BENCH_RUNS=5)
#   SORV_BENCH_DISPLAY=96   the Xvfb display; SORV_BENCH_DRIVER=null runs
#                           headless instead (Wine's null driver draws nothing)
#
# Exit status: 0 when every target is met, 1 when one is missed, 2 when the
# benchmark itself could not run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
mib=${SORV_BENCH_MIB:-600}
runs=${SORV_BENCH_RUNS:-5}
driver=${SORV_BENCH_DRIVER:-x11}
bin="$top/build/win64/bin"
[ -x "$bin/bench_probe.exe" ] && [ -x "$bin/sorv.exe" ] || "$top/tools/build.sh" win64
for tool in wine wineserver Xvfb; do
  command -v "$tool" >/dev/null || { echo "gui: $tool is missing (tools/setup.sh installs it)" >&2; exit 2; }
done
free_mib=$(df -m --output=avail /tmp | tail -1)
[ "$free_mib" -gt $((mib * 4)) ] || { echo "gui: not enough room in /tmp for $mib MiB three times over" >&2; exit 2; }

work=$(mktemp -d /tmp/sorv-gui-bench.XXXXXX)
export WINEPREFIX="$top/build/wineprefix-bench-$driver" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb=""
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
if [ "$driver" = x11 ]; then
  export DISPLAY=":${SORV_BENCH_DISPLAY:-96}"
  Xvfb "$DISPLAY" -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  sleep 1
else
  unset DISPLAY
fi
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  if [ "$driver" = null ]; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
  else
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  fi
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
fi
# One server for the whole run, so that no measure pays for its start.
wine cmd /c exit >/dev/null 2>&1
wineserver -p >/dev/null 2>&1 &

# The programs run from a copy, so that no other build moves them meanwhile.
cp "$bin"/{sorv.exe,sorv-cli.exe,sorv.hlp,bench_probe.exe,bench_minimal_window.exe,bench_file_layer.exe} "$work/"
w() { winepath -w "$1" 2>/dev/null; }
echo "gui: $mib MiB of random bytes in $work, $runs runs each, $driver driver"
mkdir "$work/data"
head -c "$((mib * 1024 * 1024))" /dev/urandom >"$work/data/data.bin"

missed=0
# result NAME VALUE REFERENCE-NAME RATIO TARGET
result() {
  local verdict
  verdict=$(awk -v r="$4" -v t="$5" 'BEGIN { print (r <= t) ? "ok" : "MISS" }')
  [ "$verdict" = ok ] || missed=1
  printf '%-24s %-40s ratio %6s  <= %-5s %s\n' "$1" "$2 against $3" "$4" "$5" "$verdict"
}
field() { awk -v k="$1" '{ for (i = 1; i < NF; ++i) if ($i == k) print $(i + 1) }' <<<"$2"; }

probe() { wine "$work/bench_probe.exe" "$@" 2>&1 | tr -d '\r'; }
line=$(probe startup "$((runs * 4))" "$(w "$work/sorv.exe")" "$(w "$work/bench_minimal_window.exe")")
echo "$line"
startup=$(field startup_ms "$line"); reference=$(field reference_ms "$line")

line=$(probe split "$runs" "$(w "$work/sorv.exe")" "$(w "$work/sorv-cli.exe")" "$(w "$work/data/data.bin")")
echo "$line"
split=$(field split_ms "$line"); cli=$(field cli_ms "$line"); stall=$(field longest_stall_ms "$line")

line=$(wine "$work/bench_file_layer.exe" "$runs" "$(w "$work/data/data.bin")" 2>&1 | tr -d '\r')
echo "$line"
layer_split=$(sed -n 1p <<<"$line"); layer_join=$(sed -n 2p <<<"$line")

size=$(stat -c %s "$work/sorv.exe")

echo
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
result "start-up" "${startup} ms" "${reference} ms minimal" "$(ratio "$startup" "$reference")" 1.5
result "GUI split 1.4 Mo" "${split} ms" "${cli} ms sorv-cli" "$(ratio "$split" "$cli")" 2.0
result "longest stall" "${stall} ms" "100 ms" "$(ratio "$stall" 100)" 1.0
result "file layer split" "$(field split_ms "$layer_split") ms" "$(field plain_ms "$layer_split") ms plain" \
  "$(field ratio "$layer_split")" 1.05
result "file layer join" "$(field join_ms "$layer_join") ms" "$(field plain_ms "$layer_join") ms plain" \
  "$(field ratio "$layer_join")" 1.05
result "sorv.exe stripped" "$size bytes" "700000 bytes" "$(ratio "$size" 700000)" 1.0
exit "$missed"
