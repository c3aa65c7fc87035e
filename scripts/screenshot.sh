#!/usr/bin/env bash
# Takes a screenshot of the real desktop program under Xvfb.
#   scripts/screenshot.sh [OUT.png]          at start-up: the splash (default
#                                            build/default/screenshot.png)
#   scripts/screenshot.sh --race [--dark] [OUT.png]
#                                            after "I Agree", Download Race Meetings, a track
#                                            and a race were chosen against selvane-standin at
#                                            2026-12-06 14:00 (default build/default/screenshot-race.png,
#                                            or -race-dark.png in a dark theme; the splash before
#                                            "I Agree" in OUT-splash.png)
#   scripts/screenshot.sh --history [OUT.png]
#                                            the History window over a record that selvane-cli
#                                            wrote against selvane-standin: a race tipped, priced
#                                            three times before its start and its result (default
#                                            build/default/screenshot-history.png)
#   scripts/screenshot.sh --review [OUT.png]
#                                            the Review window after a week's review against the
#                                            stand-in (default build/default/screenshot-review.png)
set -euo pipefail
cd "$(dirname "$0")/.."
race="" dark=""
if [ "${1:-}" = --history ]; then
  out=$(realpath -m "${2:-build/default/screenshot-history.png}")
  mkdir -p "$(dirname "$out")"
  cmake --preset default >/dev/null
  cmake --build --preset default -j 2 --target selvane-standin selvane-cli selvane_window_shot >/dev/null
  work=$(mktemp -d)
  standin=""
  trap '[ -n "$standin" ] && kill $standin 2>/dev/null; rm -rf "$work"' EXIT
  # The stand-in's clock at each fetch: prices wander towards the jump, then the result is in.
  # The record keeps the machine's time of each fetch; these seconds apart would draw as one
  # point, so each run's fetches are moved to the stand-in's clock (AEDT, UTC+11).
  for now in 12:10 12:40 13:05 15:00; do
    build/default/selvane-standin --host 127.0.0.1 --port 0 --now "2026-12-06T$now" --seed 1 --quiet >"$work/standin.out" 2>&1 & standin=$!
    for _ in $(seq 50); do grep -q "form guide" "$work/standin.out" 2>/dev/null && break; sleep 0.1; done
    url=$(sed -n 's|.*form guide \(http://[^/]*\)/.*|\1|p' "$work/standin.out")
    command=(odds scone 1)
    [ "$now" = 15:00 ] && command=(results scone --race 1)
    last=0
    [ -f "$work/record.sqlite" ] && last=$(sqlite3 "$work/record.sqlite" "SELECT coalesce(max(id), 0) FROM fetch")
    build/default/selvane-cli "${command[@]}" --date 06/12/2026 --form-guide "$url" --results-site "$url/tote/" \
      --record "$work/record.sqlite" >/dev/null
    utc=$(printf '%02d:%s' $((10#${now%:*} - 11)) "${now#*:}")
    sqlite3 "$work/record.sqlite" "UPDATE fetch SET fetched_at = '2026-12-06T${utc}:00Z' WHERE id > $last"
    kill $standin; wait $standin 2>/dev/null || true
    standin=""
  done
  TZ=Australia/Sydney \
  xvfb-run -a -s "-screen 0 1280x1024x24" build/default/tests/ui/selvane_window_shot history "$work/record.sqlite" \
    2026-12-06 2026-12-06 SCONE 1 "$out"
  exit
fi
if [ "${1:-}" = --review ]; then
  out=$(realpath -m "${2:-build/default/screenshot-review.png}")
  mkdir -p "$(dirname "$out")"
  cmake --preset default >/dev/null
  cmake --build --preset default -j 2 --target selvane_window_shot >/dev/null
  xvfb-run -a -s "-screen 0 1280x1024x24" build/default/tests/ui/selvane_window_shot review 2026-11-29 2026-12-05 "$out"
  exit
fi
if [ "${1:-}" = --race ]; then
  race=1
  shift
  if [ "${1:-}" = --dark ]; then
    dark=1
    export SELVANE_E2E_PALETTE=dark
    shift
  fi
fi
out=${1:-build/default/screenshot${race:+-race}${dark:+-dark}.png}
mkdir -p "$(dirname "$out")"

cmake --preset default >/dev/null
if [ -n "$race" ]; then
  cmake --build --preset default -j 2 --target selvane selvane-standin selvane-cli selvane_e2e_driver >/dev/null
  cache() { sed -n "s/^$1:[A-Z]*=//p" build/default/CMakeCache.txt; }
  # The end-to-end test's own run (tests/ui/e2e_race.sh), on a fresh Xvfb screen.
  env -u DISPLAY tests/ui/e2e_race.sh --program build/default/selvane --standin build/default/selvane-standin \
    --cli build/default/selvane-cli --plugins build/default/tests/ui/plugins \
    --form-guide "$(cache SELVANE_FORM_GUIDE_URL)" --results-site "$(cache SELVANE_RESULTS_SITE_URL)" \
    --maker-site "$(cache SELVANE_MAKER_SITE_URL)" --shot "$(realpath -m "$out")"
  exit
fi

cmake --build --preset default -j 2 --target selvane selvane_screen_grab >/dev/null

# Its own runtime folder, so a selvane already running elsewhere does not make this one end.
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
XDG_RUNTIME_DIR=$runtime xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  build/default/selvane & program=$!
  build/default/tests/ui/selvane_screen_grab "$1" 30; status=$?
  kill $program 2>/dev/null; wait $program 2>/dev/null
  exit $status' _ "$out"
