#!/usr/bin/env bash
# Prints the non-blank lines of tests against those of the code they test (src, standin, cli),
# per test folder and in all. Test data (tests/data) is not counted.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
    find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' -o -name '*.py' -o -name CMakeLists.txt \) \
        -not -path 'tests/data/*' -print0 | xargs -0 -r cat | grep -cv '^[[:space:]]*$' || true
}
for d in tests/*/; do
    [ "$d" = tests/data/ ] && continue
    printf '%6d  %s\n' "$(count "$d")" "$d"
done | sort -rn
tests=$(count tests)
code=$(count src standin cli)
awk -v t="$tests" -v c="$code" 'BEGIN { printf "tests %d / code %d = %.2f (aim: at most 0.35)\n", t, c, t / c }'
