#!/usr/bin/env bash
# Builds one test of one tree and runs it under the driver it needs:
#   tools/run-test.sh TREE NAME [FILTER]
# native, asan: the test program itself. win64: under Wine; a window test
# with Wine's null driver (nothing drawn), a test that reads pixels back
# (sorv_pixel_test) on a virtual X display started for the run and stopped
# after it. FILTER goes to the test as --gtest_filter ('Suite.*', 'A.b:C.*').
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if (($# < 2 || $# > 3)); then
  echo "usage: tools/run-test.sh native|asan|win64 NAME [FILTER]" >&2
  exit 64
fi
tree=$1 name=$2 filter=${3:-}
dir=$top/build/$tree
"$top/tools/build.sh" "$tree" "$name"
# What ctest would run says whether this is a test, and of which kind.
info=$(ctest --test-dir "$dir" -N -R "^${name}\$" --show-only=json-v1)
grep -q "\"name\" : \"$name\"" <<<"$info" || { echo "run-test: no test $name in build/$tree" >&2; exit 64; }
args=()
[ -z "$filter" ] || args=("--gtest_filter=$filter")

case "$tree" in
  native|asan)
    exec "$dir/bin/$name" "${args[@]}"
    ;;
  win64)
    export SORV_WINEPREFIX="${SORV_WINEPREFIX:-$top/build/wineprefix}"
    if grep -q 'pixel_display.sh' <<<"$info"; then
      display="$top/tests/support/pixel_display.sh" state="$dir/pixel-display"
      sh "$display" start "$state" >/dev/null
      trap 'sh "$display" stop "$state"' EXIT
      sh "$display" run "$state" "$dir/bin/$name.exe" "${args[@]}"
    else
      unset DISPLAY
      sh "$top/tests/toolkit/wine_headless.sh" "$top/tools/wine-run.sh"
      exec "$top/tools/wine-run.sh" "$dir/bin/$name.exe" "${args[@]}"
    fi
    ;;
esac
