#!/usr/bin/env bash
# Sets up, builds and runs Sorv on FILE: the Windows program under Wine on the
# current display, or, with no display, the console front end sorv-cli.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/tools/setup.sh"
if [ -n "${DISPLAY:-}" ]; then
  "$top/tools/build.sh" win64 sorv
  args=()
  # Wine maps the Linux root to drive Z:.
  for a in "$@"; do
    if [ -e "$a" ]; then args+=("Z:$(realpath "$a" | tr / '\\')"); else args+=("$a"); fi
  done
  # A prefix of its own, whatever the test prefixes chosen in the environment.
  export SORV_WINEPREFIX="$top/build/wineprefix-x11"
  cd "$top/build/win64/bin"
  exec "$top/tools/wine-run.sh" ./sorv.exe "${args[@]}"
fi
echo "run: no display; running the console front end sorv-cli instead" >&2
"$top/tools/build.sh" native sorv-cli
exec "$top/build/native/bin/sorv-cli" "$@"
