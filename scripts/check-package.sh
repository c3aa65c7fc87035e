#!/usr/bin/env bash
# Packs the built programs of BUILD (default build/default) into the Debian packages selvane and
# selvane-standin and checks them: lintian (an error, a warning or an override no longer needed
# fails), no maintainer scripts or conffiles (removing a package leaves nothing behind), each
# package's file list and dependencies, Debian's hardening flags in every program, and the
# AppStream metadata with its menu entry.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}

rm -f "$build"/selvane_*.deb "$build"/selvane-standin_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
desktop=$(ls "$build"/selvane_*.deb)
standin=$(ls "$build"/selvane-standin_*.deb)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
app_id=$(sed -n 's/^set(SELVANE_APP_ID \(.*\))$/\1/p' CMakeLists.txt)
windows_dir=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/selvane

fail() { echo "check-package: $*" >&2; exit 1; }

for deb in "$desktop" "$standin"; do
  out=$(lintian --display-info --fail-on error,warning "$deb" 2>&1) || fail "lintian on $(basename "$deb"):"$'\n'"$out"
  [ -n "$out" ] && echo "$out"
  # An override outlives its reason silently otherwise.
  if grep -q 'unused-override\|mismatched-override' <<<"$out"; then fail "$(basename "$deb") carries an override it no longer needs"; fi
  scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's|^\./||' | grep -v -x -e '' -e control -e md5sums || true)
  [ -z "$scripts" ] || fail "$(basename "$deb") has maintainer scripts or conffiles: $scripts"
done

listing() { dpkg-deb -c "$1" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }' | sort; }
want_desktop=$(
  {
    printf '%s\n' usr/bin/selvane usr/bin/selvane-cli "$windows_dir/selvane-windows.so" \
      "usr/share/applications/$app_id.desktop" "usr/share/metainfo/$app_id.metainfo.xml" \
      usr/share/icons/hicolor/scalable/apps/selvane.svg \
      usr/share/doc/selvane/copyright usr/share/doc/selvane/changelog.gz \
      usr/share/man/man1/selvane.1.gz usr/share/man/man1/selvane-cli.1.gz \
      usr/share/bash-completion/completions/selvane-cli usr/share/zsh/vendor-completions/_selvane-cli
    for size in 16 24 32 48 64 128 256; do echo "usr/share/icons/hicolor/${size}x${size}/apps/selvane.png"; done
    for f in share/*; do echo "usr/share/selvane/$(basename "$f")"; done
  } | sort
)
want_standin=$(printf '%s\n' usr/bin/selvane-standin usr/share/man/man1/selvane-standin.1.gz \
  usr/share/doc/selvane-standin/copyright usr/share/doc/selvane-standin/changelog.gz | sort)
for pair in "desktop:$desktop" "standin:$standin"; do
  name=${pair%%:*} deb=${pair#*:}
  want_var=want_$name
  have=$(listing "$deb")
  if [ "${!want_var}" != "$have" ]; then
    diff <(echo "${!want_var}") <(echo "$have") >&2 || true
    fail "$(basename "$deb"): file list differs (< wanted, > packed)"
  fi
  dpkg -x "$deb" "$root"
done

depends=$(dpkg-deb -f "$desktop" Depends)
for p in libcurl4 libsqlite3-0 libcairo2 libxml2 libqt6widgets6 libqt6webenginewidgets6 libqt6charts6 qt6-qpa-plugins libqt6webenginecore6-bin; do
  [[ ", $depends," == *", $p"[\ ,]* ]] || fail "selvane does not depend on $p: $depends"
done
[[ "$depends" != *httplib* ]] || fail "selvane depends on the HTTP server library: $depends"
[[ "$(dpkg-deb -f "$desktop" Recommends)" == xdg-utils* ]] || fail "selvane does not recommend xdg-utils"
[[ "$(dpkg-deb -f "$standin" Depends)" == *httplib* ]] || fail "selvane-standin does not depend on the HTTP server library"

# Debian 12's hardening flags (dpkg-buildflags with hardening=+all): fortify, stack protector,
# relro and bind now, and PIE. Control-flow protection is not among them. The windows' module
# calls no libc function that fortify can check (only memcpy and memmove on sizes known at run
# time), so hardening-check finds no checked one there.
hardening-check --quiet --nocfprotection "$root"/usr/bin/* || fail "a program lacks a hardening flag"
hardening-check --quiet --nocfprotection --nofortify "$root/$windows_dir/selvane-windows.so" ||
  fail "the windows' module lacks a hardening flag"

appstreamcli validate-tree --pedantic --no-net "$root" >/dev/null || {
  appstreamcli validate-tree --pedantic --no-net "$root" >&2 || true
  fail "AppStream metadata does not validate"
}

# The unpacked programs run from the temporary root.
"$root/usr/bin/selvane-cli" --help >/dev/null
"$root/usr/bin/selvane-standin" --help >/dev/null
echo "$(basename "$desktop"): $(echo "$want_desktop" | wc -l) files, depends on $depends"
echo "$(basename "$standin"): $(echo "$want_standin" | wc -l) files, depends on $(dpkg-deb -f "$standin" Depends)"
