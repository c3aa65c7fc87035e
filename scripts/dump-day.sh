#!/usr/bin/env bash
# Starts selvane-standin on a free loopback port and saves, over HTTP, every page of the clock's
# race day: both meeting pages, each race and price page, the tote site's day page and each result
# page it links, the maker's pages. OUT/status.txt lists "status target" per request. The
# server's own address is written as 127.0.0.1:PORT, so dumps of two runs compare with diff -r.
# usage: scripts/dump-day.sh STANDIN_BINARY OUT_DIR [stand-in options: --now 2026-12-06T14:00 --seed 1 ...]
set -euo pipefail
export LC_ALL=C
bin=$1 out=$2
shift 2
mkdir -p "$out"
: >"$out/status.txt"
portfile=$(mktemp)
"$bin" --port 0 --quiet "$@" >"$portfile" &
pid=$!
trap 'kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; rm -f "$portfile"' EXIT
for _ in $(seq 100); do
  [ -s "$portfile" ] && break
  kill -0 "$pid" 2>/dev/null || { echo "dump-day: the stand-in did not start" >&2; exit 1; }
  sleep 0.1
done
port=$(head -1 "$portfile")

get() {  # target: saved under OUT at its path (and query); "/" and ".../" as index.html
  local name=${1#/}
  case $name in '' | */) name+=index.html ;; esac
  mkdir -p "$out/$(dirname "$name")"
  echo "$(curl -s -o "$out/$name" -w '%{http_code}' "http://127.0.0.1:$port$1") $1" >>"$out/status.txt"
  sed -i "s|127\.0\.0\.1:$port|127.0.0.1:PORT|g" "$out/$name"
}

get /
get /cgi-bin/tvf/access.pl
meetings=$out/cgi-bin/tvf/access.pl
day=$(grep -o 'OPTION SELECTED VALUE="[0-9]*"' "$meetings" | grep -o '[0-9]\{8\}')
get "/cgi-bin/tvf/access.pl?$day"
# "<SELECT NAME="NRANBDFA">" opens a meeting's race list; each "<OPTION VALUE="7">R7 ..." is a race.
for race in $(awk '/<SELECT NAME="N/ { match($0, /"N[A-Z]+"/); code = tolower(substr($0, RSTART + 2, RLENGTH - 3)); next }
                   code != "" && match($0, /^<OPTION VALUE="[0-9]+">R/) { match($0, /[0-9]+/); print code substr($0, RSTART, RLENGTH) }
                   /<\/SELECT>/ { code = "" }' "$meetings"); do
  get "/cgi-bin/tvf/memdeliver.pl/$race.htm?tvf3"
  get "/cgi-bin/tvf/memdispodds.pl/$race?rto"
done
tote=/tote/${day:0:4}/${day:4:2}/${day:6:2}/
get "${tote}mtgraces.html"
for page in $(grep -o 'href="[A-Z][A-Z][0-9][0-9]\.html"' "$out${tote}mtgraces.html" | cut -d'"' -f2 | sort -u); do
  get "$tote$page"
done
get /maker/
get /maker/adsbase.html
echo "dump-day: $(wc -l <"$out/status.txt") pages of $day in $out"
