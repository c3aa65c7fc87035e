#!/usr/bin/env bash
# The punter's path through the real desktop program under Xvfb: Download Race Meetings, choose
# a track, double-click a race; what the window shows is checked against selvane-cli for the
# same race, and the run ends in a screenshot. The services are a selvane-standin on a fixed
# clock (2026-12-06 14:00, seed 1).
#
# The program reads no configuration: its service addresses are compiled in (by default
# 127.0.0.1:18765). So the run takes a network namespace of its own (unshare), where that port
# is free whatever else runs on the machine, and the stand-in listens there on the compiled-in
# port. Where namespaces are not allowed it uses the machine's loopback if the port is free and
# is skipped (exit 77) if not. Inside the program a driver loaded through Qt's generic plug-in
# hook (e2e_driver.cpp) clicks and reads the widgets; the program binary is the one users run.
#
# Usage: e2e_race.sh --program P --standin S --cli C --plugins DIR --form-guide URL
#                    --results-site URL --maker-site URL --shot OUT.png
# Besides the race run (which accepts the splash once the advert is ready and pictures the splash
# in OUT-splash.png), three short runs answer the splash otherwise: declined at once, and with the
# maker's site stalled, "I Agree" pressed while the advert loads, then declined, and declined
# while the advert loads. Each must end with exit code 0 and never show the main window.
set -euo pipefail

args=("$@")
while [ $# -gt 0 ]; do
  case $1 in
    --program) program=$2 ;;
    --standin) standin=$2 ;;
    --cli) cli=$2 ;;
    --plugins) plugins=$2 ;;
    --form-guide) form_guide=$2 ;;
    --results-site) results_site=$2 ;;
    --maker-site) maker_site=$2 ;;
    --shot) shot=$2 ;;
    *) echo "e2e_race.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done
now=2026-12-06T14:00
date=06/12/2026

skip() { echo "e2e_race.sh: skipped: $*"; exit 77; }

# A network namespace with only its own loopback: as root, or as a user through a user namespace.
if [ -z "${SELVANE_E2E_NET:-}" ]; then
  export SELVANE_E2E_NET=shared
  for how in "--net" "--user --map-root-user --net"; do
    # shellcheck disable=SC2086
    if unshare $how sh -c 'ip link set lo up' 2>/dev/null; then
      SELVANE_E2E_NET=private exec unshare $how "$0" "${args[@]}"
    fi
  done
fi
if [ "$SELVANE_E2E_NET" = private ]; then
  ip link set lo up
fi

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "${args[@]}"
fi

# The three compiled-in services must be one stand-in on loopback.
hostport() { local rest=${1#*://}; echo "${rest%%/*}"; }
server=$(hostport "$form_guide")
[ "$(hostport "$results_site")" = "$server" ] && [ "$(hostport "$maker_site")" = "$server" ] ||
  skip "the compiled-in services are not on one server ($form_guide, $results_site, $maker_site)"
host=${server%:*}
port=${server##*:}
case $host in 127.0.0.1 | localhost) ;; *) skip "the compiled-in services are not on loopback ($server)" ;; esac
if [ "$SELVANE_E2E_NET" = shared ] && (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
  skip "no network namespace here, and port $port is taken"
fi

work=$(mktemp -d)
standin_pid=""
stop_standin() {
  if [ -n "$standin_pid" ]; then
    kill "$standin_pid" 2>/dev/null && wait "$standin_pid" 2>/dev/null
    standin_pid=""
  fi
  return 0
}
cleanup() {
  stop_standin
  rm -rf "$work"
}
trap cleanup EXIT

start_standin() {
  "$standin" --host 127.0.0.1 --port "$port" --now "$now" --seed 1 --quiet "$@" >"$work/standin.out" 2>"$work/standin.log" &
  standin_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/standin.out" ] && return 0
    kill -0 "$standin_pid" 2>/dev/null || { cat "$work/standin.log" >&2; echo "e2e_race.sh: the stand-in did not start" >&2; exit 1; }
    sleep 0.1
  done
  echo "e2e_race.sh: the stand-in did not answer in 10 s" >&2
  exit 1
}

# Its own runtime folder, so a selvane running elsewhere does not make this one end at once.
mkdir -m 700 "$work/runtime"
folder=$(dirname "$program")
failed=0

# run_program SPLASH: the program with the driver answering the splash that way (accept runs
# the race); prints what it came to and sets failed=1 on a non-zero exit or a report not PASS.
run_program() {
  local splash=$1 status=0 started ended
  # Stale work files of an earlier run would pass for this run's advert.
  rm -f "$folder/iFrame_page.html" "$folder/adsbase.html" "$work/report.txt"
  started=$(date +%s.%N)
  env XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    QT_PLUGIN_PATH="$plugins" QT_QPA_GENERIC_PLUGINS=selvane-e2e \
    SELVANE_E2E_PROGRAM="$program" SELVANE_E2E_REPORT="$work/report.txt" SELVANE_E2E_SHOT="$shot" \
    SELVANE_E2E_SPLASH="$splash" SELVANE_E2E_SPLASH_SHOT="${splash_shot:-}" \
    SELVANE_E2E_CLI="$cli" SELVANE_E2E_FORM_GUIDE="$form_guide" SELVANE_E2E_RESULTS_SITE="$results_site" \
    SELVANE_E2E_DATE="$date" \
    timeout -k 5 170 "$program" >"$work/program.log" 2>&1 || status=$?
  ended=$(date +%s.%N)
  echo "selvane under Xvfb ($SELVANE_E2E_NET network), stand-in at $now on port $port, splash: $splash: exit $status," \
    "$(awk -v a="$started" -v b="$ended" 'BEGIN { printf "%.1f s", b - a }')"
  if [ -s "$work/report.txt" ]; then
    cat "$work/report.txt"
  else
    echo "no report from the driver (was it loaded from $plugins/generic?)"
  fi
  if [ "$status" -ne 0 ] || [ "$(head -1 "$work/report.txt" 2>/dev/null)" != PASS ]; then
    echo "--- program output"
    tail -40 "$work/program.log"
    failed=1
  fi
}

rm -f "$shot"
splash_shot=${shot%.png}-splash.png
rm -f "$splash_shot"
start_standin
run_program accept
[ -s "$shot" ] && [ -s "$splash_shot" ] || { echo "e2e_race.sh: no screenshot"; failed=1; }
run_program decline
splash_shot=""

# The maker's site stalls: the splash waits at most the advert's limit, then frames blank.html.
stop_standin
start_standin --fault stall --fault-path /maker/
run_program stall
run_program decline
exit "$failed"
