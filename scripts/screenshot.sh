#!/usr/bin/env bash
# Takes a screenshot of the real desktop program under Xvfb, as a punter sees it at start-up.
# Usage: scripts/screenshot.sh [OUT.png]   (default build/default/screenshot.png)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-build/default/screenshot.png}

cmake --preset default >/dev/null
cmake --build --preset default -j 2 --target selvane selvane_screen_grab >/dev/null

# Its own runtime folder, so a selvane already running elsewhere does not make this one end.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  build/default/selvane & program=$!
  build/default/tests/ui/selvane_screen_grab "$1" 30; status=$?
  kill $program 2>/dev/null; wait $program 2>/dev/null
  exit $status' _ "$out"
