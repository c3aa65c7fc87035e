#!/usr/bin/env bash
# Installs what is missing, builds, starts the stand-in services on loopback and runs the
# program against them. Without a display it shows the same job through selvane-cli.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install-deps.sh
# Quiet when the build works; its output, less the progress lines, when it does not.
mkdir -p build
log=build/run-build.log
if ! { cmake --preset default && cmake --build --preset default -j "$jobs"; } >"$log" 2>&1; then
  grep -v '^\[[0-9]*/[0-9]*\] ' "$log" >&2 || true
  echo "run.sh: the build failed (the whole output: $log)" >&2
  exit 1
fi

bin=build/default
port=18765
standin_pid=""
if ! curl -s -o /dev/null "http://127.0.0.1:$port/cgi-bin/tvf/access.pl"; then
  "$bin/selvane-standin" --port "$port" >"$bin/standin.log" 2>&1 &
  standin_pid=$!
  trap '[ -n "$standin_pid" ] && kill "$standin_pid" 2>/dev/null' EXIT
  for _ in $(seq 50); do
    curl -s -o /dev/null "http://127.0.0.1:$port/cgi-bin/tvf/access.pl" && break
    sleep 0.1
  done
fi

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x "$bin/selvane" ]; then
  "$bin/selvane"
else
  echo "No display: today's meetings and the tips of a race, through selvane-cli."
  "$bin/selvane-cli" meetings
  # The first meeting's track word and its first race, from the table meetings prints.
  read -r track race < <("$bin/selvane-cli" meetings | awk '
    /^[0-9]+\. / && !track { track = $2; next }
    track && $1 ~ /^[0-9]+$/ { print track, $1; exit }') || true
  if [ -n "${track:-}" ]; then
    "$bin/selvane-cli" race "$track" "$race"
  fi
fi
