#!/usr/bin/env bash
# Packs the built programs of BUILD (default build/default) into a Debian package, unpacks it
# into a temporary root and checks its file list and its dependencies.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/default}

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/selvane_*.deb | head -1)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

want=$(
  {
    printf '%s\n' usr/bin/selvane usr/bin/selvane-cli usr/bin/selvane-standin \
      usr/share/applications/selvane.desktop usr/share/metainfo/selvane.metainfo.xml \
      usr/share/icons/hicolor/scalable/apps/selvane.svg usr/lib/selvane/selvane-windows.so \
      usr/share/man/man1/selvane.1.gz usr/share/man/man1/selvane-cli.1.gz usr/share/man/man1/selvane-standin.1.gz \
      usr/share/bash-completion/completions/selvane-cli usr/share/zsh/vendor-completions/_selvane-cli
    for size in 16 24 32 48 64 128 256; do echo "usr/share/icons/hicolor/${size}x${size}/apps/selvane.png"; done
    for f in share/*; do echo "usr/share/selvane/$(basename "$f")"; done
  } | sort
)
have=$(cd "$root" && find . -type f | sed 's|^\./||' | sort)
if [ "$want" != "$have" ]; then
  echo "package file list differs (< wanted, > packed):" >&2
  diff <(echo "$want") <(echo "$have") >&2 || true
  exit 1
fi

depends=$(dpkg-deb -f "$deb" Depends)
for p in libcurl4 libxml2 libqt6widgets6 libqt6webenginewidgets6 qt6-qpa-plugins libqt6webenginecore6-bin; do
  [[ ", $depends," == *", $p"[\ ,]* ]] || { echo "package does not depend on $p: $depends" >&2; exit 1; }
done
# The unpacked programs run from the temporary root.
"$root/usr/bin/selvane-cli" --help >/dev/null
echo "$(basename "$deb"): $(echo "$have" | wc -l) files, depends on $depends"
