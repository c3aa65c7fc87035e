#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit and flow tests under
# AddressSanitizer + UndefinedBehaviorSanitizer, the Qt tests, and each fuzz target briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

scripts/install-deps.sh

echo "== the core stays Qt-free"
if grep -rnE '#\s*include\s*[<"]Q[A-Za-z]' src standin cli --include='*.h' --include='*.cpp' | grep -v '^src/ui/'; then
  echo "Qt headers outside src/ui" >&2
  exit 1
fi

echo "== includes point down"
scripts/check-includes.sh

echo "== unit and flow tests (ASan + UBSan)"
cmake --preset asan >/dev/null
cmake --build --preset asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 ctest --preset asan -j "$jobs"

echo "== desktop program and its tests"
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
if [ -f build/default/tests/ui/CTestTestfile.cmake ]; then
  (cd build/default/tests/ui && xvfb-run -a -s "-screen 0 1600x1200x24" ctest --output-on-failure)
fi

echo "== Debian package of the desktop build"
if [ -x build/default/selvane ]; then
  scripts/check-package.sh build/default
else
  echo "no desktop program built: package not checked" >&2
  exit 1
fi

echo "== fuzz targets (${FUZZ_SECONDS:=10} s each)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
for target in build/fuzz/fuzz/fuzz_*; do
  [ -x "$target" ] || continue
  corpus=$(mktemp -d)
  "$target" -seed=1 -max_total_time="$FUZZ_SECONDS" -max_len=65536 -rss_limit_mb=2048 -print_final_stats=0 \
    "$corpus" >"$corpus.log" 2>&1 || { tail -50 "$corpus.log"; echo "fuzz target failed: $target" >&2; exit 1; }
  echo "$(basename "$target"): ok"
  rm -rf "$corpus" "$corpus.log"
done
echo "== all tests passed"
