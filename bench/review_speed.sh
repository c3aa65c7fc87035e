#!/usr/bin/env bash
# The review's speed against the stand-in with every page slowed by 40 ms: a 28-day review at
# --jobs 1 and at --jobs 8, the same range again --offline, and the memory of 7 against 28 days.
# Wall time and max RSS from /usr/bin/time. Use an optimised build (Release or RelWithDebInfo).
#   bench/review_speed.sh [BUILD_DIR]     (default build/default)
set -euo pipefail
build=${1:-build/default}
port=${PORT:-18977}
work=$(mktemp -d)
"$build/selvane-standin" --port "$port" --now 2026-12-06T14:00 --fault slow --slow-ms 40 --quiet &
standin=$!
trap 'kill "$standin"; rm -rf "$work"' EXIT
sleep 1
services=(--form-guide "http://127.0.0.1:$port" --results-site "http://127.0.0.1:$port/tote/")

# label, then the review's options: its first line (races settled), wall time and max RSS.
run() {
  local label=$1
  shift
  /usr/bin/time -o "$work/time" -f "%e s wall, %M KB max RSS" \
    "$build/selvane-cli" review "${services[@]}" "$@" >"$work/out"
  printf '%-24s %-32s %s\n' "$label" "$(cat "$work/time")" "$(head -1 "$work/out" | sed 's/.*stake 1.00 a bet type: //')"
}

run "28 days, --jobs 1" --from 08/11/2026 --to 05/12/2026 --jobs 1 --no-record
run "28 days, --jobs 8" --from 08/11/2026 --to 05/12/2026 --jobs 8 --record "$work/r.sqlite"
run "28 days, --offline" --from 08/11/2026 --to 05/12/2026 --offline --record "$work/r.sqlite"
run "7 days, --jobs 8" --from 29/11/2026 --to 05/12/2026 --jobs 8 --record "$work/r7.sqlite"
run "7 days, --offline" --from 29/11/2026 --to 05/12/2026 --offline --record "$work/r7.sqlite"
