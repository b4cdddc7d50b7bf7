#!/usr/bin/env bash
# Configures and builds the trees named on the command line (native, asan,
# win64; all three by default) under build/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
trees=("$@"); ((${#trees[@]})) || trees=(native asan win64)
for t in "${trees[@]}"; do
  dir="$top/build/$t"
  case "$t" in
    native) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    asan)   args=(-DCMAKE_BUILD_TYPE=Debug -DSORV_SANITIZE=ON) ;;
    win64)  args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake") ;;
    *) echo "build: unknown tree $t" >&2; exit 64 ;;
  esac
  [ -f "$dir/CMakeCache.txt" ] || cmake -S "$top" -B "$dir" "${args[@]}" >/dev/null
  echo "build: $t"
  cmake --build "$dir" -j "$jobs" 2>&1 | grep -E -v '^\[ *[0-9]+%\]|^-- |^(Consolidate|Scanning)' || true
  test "${PIPESTATUS[0]}" -eq 0
done
