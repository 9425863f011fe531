#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the editor need. Safe to run again:
# it only calls apt-get when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config lld
  clang libclang-rt-14-dev clang-format
  dpkg-dev file
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-qpa-plugins libqt6printsupport6 libgl-dev fonts-dejavu-core
  librtmidi-dev jackd2 libasound2-dev libjack-jackd2-dev
  libcli11-dev nlohmann-json3-dev libsqlite3-dev
  poppler-utils
  xvfb xdotool
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
