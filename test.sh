#!/usr/bin/env bash
# Sets up the machine, builds every tree and runs every test: natively, under
# the sanitizers and, for the Windows build, under Wine.
set -uo pipefail
top=$(cd "$(dirname "$0")" && pwd)
cd "$top"
tools/setup.sh || exit 1
# The tests make their own displays: the window tests Wine's null driver, the
# pixel tests a virtual X display each run starts. Never the user's desktop.
unset DISPLAY
tools/build.sh || { echo "0 passed, 1 failed"; exit 1; }

# One Wine prefix of our own, started once and kept alive for the whole run.
export SORV_WINEPREFIX="$top/build/wineprefix" WINEPREFIX="$top/build/wineprefix"
tools/wine-run.sh cmd /c exit >/dev/null 2>&1
wineserver -p >/dev/null 2>&1 &

passed=0; failed=0
for t in native asan win64; do
  echo "== tests: $t"
  log="build/$t/ctest.log"
  (cd "build/$t" && ctest --output-on-failure -j 2 --timeout 600) >"$log" 2>&1
  grep -E 'Test +#|tests passed|Failed|\*\*\*' "$log" | grep -v -E 'Passed +[0-9.]+ sec$' || true
  sed -n '/The following tests FAILED/,$p;/Output from these tests/,$p' "$log" | head -n 200
  p=$(grep -c -E 'Test +#[0-9]+: .* Passed' "$log"); f=$(grep -c -E 'Test +#[0-9]+: .*(\*\*\*|Failed|Not Run|Timeout)' "$log")
  [ "$p" -gt 0 ] || f=$((f + 1))
  echo "   $t: $p passed, $f failed"
  passed=$((passed + p)); failed=$((failed + f))
done
wineserver -k >/dev/null 2>&1
echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
