#!/usr/bin/env bash
# Sets up, builds and runs Sorv on FILE.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/tools/setup.sh"
"$top/tools/build.sh" native
exec "$top/build/native/bin/sorv-cli" "$@"
