#!/usr/bin/env bash
# The rooms under src/ form a layered house: nothing but app/ and ui/ includes app/, and no two
# rooms include each other. Prints what breaks it and fails.
set -euo pipefail
cd "$(dirname "$0")/.."
status=0
up=$(grep -rnE '#\s*include\s*"app/' src --include='*.h' --include='*.cpp' | grep -v '^src/app/\|^src/ui/' || true)
if [ -n "$up" ]; then
  echo "rooms that include app/:" >&2
  echo "$up" >&2
  status=1
fi
edges=$(grep -rhoE --include='*.h' --include='*.cpp' -H '#\s*include\s*"[a-z]+/' src |
  sed -E 's#^src/([a-z]+)/[^:]*:.*"([a-z]+)/$#\1 \2#' | awk '$1 != $2' | sort -u)
while read -r a b; do
  [ -z "$a" ] && continue
  if grep -qx "$b $a" <<<"$edges"; then
    echo "rooms that include each other: $a <-> $b" >&2
    status=1
  fi
done <<<"$edges"
exit $status
