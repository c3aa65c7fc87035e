#!/usr/bin/env bash
# The punter's path through the real program under Xvfb against a stand-in at 2026-12-06 14:00,
# driven from inside by e2e_driver.cpp. The program's service addresses are compiled in, so the
# run takes a network namespace of its own where that port is free; without one it uses loopback
# if the port is free and is skipped (exit 77) if not. Usage: e2e_race.sh --program P --standin S
# --plugins DIR --form-guide URL --results-site URL --maker-site URL --shot OUT.png
set -euo pipefail
args=("$@")
while [ $# -gt 0 ]; do
  case $1 in
    --program | --standin | --plugins | --shot) declare "${1#--}=$2" ;;
    --form-guide | --results-site | --maker-site) urls+=("${2#*://}") ;;
    --cli) ;;
    *) echo "e2e_race.sh: unknown option $1" >&2; exit 2 ;;
  esac
  shift 2
done
if [ -z "${SELVANE_E2E_NET:-}" ]; then
  export SELVANE_E2E_NET=shared
  for how in "--net" "--user --map-root-user --net"; do  # as root, or through a user namespace
    # shellcheck disable=SC2086
    unshare $how sh -c 'ip link set lo up' 2>/dev/null && SELVANE_E2E_NET=private exec unshare $how "$0" "${args[@]}"
  done
fi
[ "$SELVANE_E2E_NET" = shared ] || ip link set lo up
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "${args[@]}"

# The three compiled-in services must be one stand-in on loopback.
server=${urls[0]%%/*}
port=${server##*:}
for u in "${urls[@]}"; do [ "${u%%/*}" = "$server" ] || { echo "e2e_race.sh: skipped: services on several servers"; exit 77; }; done
case ${server%:*} in 127.0.0.1 | localhost) ;; *) echo "e2e_race.sh: skipped: services not on loopback"; exit 77 ;; esac
if [ "$SELVANE_E2E_NET" = shared ] && (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then
  echo "e2e_race.sh: skipped: no network namespace here, and port $port is taken"; exit 77
fi

work=$(mktemp -d)
mkdir -m 700 "$work/runtime"  # so a selvane running elsewhere does not make this one end at once
"$standin" --host 127.0.0.1 --port "$port" --now 2026-12-06T14:00 --seed 1 --quiet >"$work/standin.out" 2>&1 &
trap 'kill $! 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do [ -s "$work/standin.out" ] && break; sleep 0.1; done
# Stale work files of an earlier run would pass for this run's advert.
rm -f "$(dirname "$program")"/{iFrame_page.html,adsbase.html} "${shot%.png}"{,-splash,-tooltip,-odds,-results,-after}.png
status=0
# The program records what it shows, and keeps its settings: here, not in the user's folders.
env XDG_RUNTIME_DIR="$work/runtime" XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=xcb QT_PLUGIN_PATH="$plugins" QT_QPA_GENERIC_PLUGINS=selvane-e2e \
  SELVANE_E2E_PROGRAM="$program" SELVANE_E2E_REPORT="$work/report.txt" SELVANE_E2E_SHOT="$shot" \
  timeout -k 5 170 "$program" >"$work/program.log" 2>&1 || status=$?
echo "selvane under Xvfb ($SELVANE_E2E_NET network), stand-in on port $port: exit $status"
cat "$work/report.txt" 2>/dev/null || echo "no report from the driver (was it loaded from $plugins/generic?)"
[ "$status" -eq 0 ] && [ "$(head -1 "$work/report.txt" 2>/dev/null)" = PASS ] || { tail -40 "$work/program.log"; exit 1; }
