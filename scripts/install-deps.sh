#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the program need; quiet when all are there.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config git
  libcurl4-openssl-dev libxml2-dev libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libcli11-dev libcairo2-dev libfontconfig-dev help2man
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-webengine-dev libqt6webenginecore6-bin qt6-charts-dev
  xvfb xauth curl fonts-dejavu-core iproute2 sqlite3
  dpkg-dev file libxcb1-dev
  lintian devscripts appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
echo "install-deps: installing ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
