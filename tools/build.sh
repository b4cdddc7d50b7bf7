#!/usr/bin/env bash
# Configures and builds under build/TREE:
#   tools/build.sh                      the three trees: native, asan, win64
#   tools/build.sh TREE                 the whole of one tree
#   tools/build.sh TREE TARGET...       only those targets of it (a test, a library, sorv)
# native: RelWithDebInfo; asan: Debug with AddressSanitizer and UBSan; win64:
# MinGW-w64 cross build, Release.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)
trees=(native asan win64)

configure() {
  local tree=$1 dir=$top/build/$1 args
  case "$tree" in
    native) args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    asan)   args=(-DCMAKE_BUILD_TYPE=Debug -DSORV_SANITIZE=ON) ;;
    win64)  args=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake") ;;
    *) echo "build: unknown tree '$tree' (native, asan or win64)" >&2; exit 64 ;;
  esac
  [ -f "$dir/CMakeCache.txt" ] || cmake -S "$top" -B "$dir" "${args[@]}" >/dev/null
}

# build TREE [TARGET...]: the progress lines left out, errors and warnings
# kept; fails when the build fails.
build() {
  local tree=$1; shift
  local targets=()
  for t in "$@"; do
    case " ${trees[*]} " in
      *" $t "*) echo "build: '$t' is a tree, not a target of $tree: one tree at a time" >&2; exit 64 ;;
    esac
    targets+=(--target "$t")
  done
  configure "$tree"
  echo "build: $tree${*:+ ($*)}"
  if ! cmake --build "$top/build/$tree" -j "$jobs" "${targets[@]}" 2>&1 |
    { grep -E -v '^\[ *[0-9]+%\]|^-- |^(Consolidate|Scanning)' || true; }; then
    echo "build: $tree failed" >&2
    return 1
  fi
}

if (($# == 0)); then
  for t in "${trees[@]}"; do build "$t"; done
else
  build "$@"
fi
