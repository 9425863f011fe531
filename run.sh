#!/usr/bin/env bash
# Builds the editor and starts it on the demo set. Without a display it renders the editor
# through the offscreen platform to a PNG and says where the picture is.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$(nproc)"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  picture="$PWD/build/vxeditr.png"
  QT_QPA_PLATFORM=offscreen build/bin/vxeditr --screenshot "$picture" examples/DEMO.SET
  echo "No display: the editor with the demo set was rendered to $picture"
else
  exec build/bin/vxeditr examples/DEMO.SET
fi
