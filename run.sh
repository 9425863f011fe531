#!/usr/bin/env bash
# Builds the editor and starts it on the demo set. Without a display it renders the editor
# through the offscreen platform to a PNG and says where the picture is.
# Only the editor, vx50 and what they ship with are built here (./test.sh builds everything); the
# build's own output goes to build/run.log, shown only when something fails.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
mkdir -p build
log="$PWD/build/run.log"

# ninja's "[12/146] ..." lines become one line that counts up (on a terminal).
progress() {
  local line
  while IFS= read -r line; do
    if [[ -t 1 && $line =~ ^\[([0-9]+)/([0-9]+)\] ]]; then
      printf '\r  step %s of %s ' "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}"
    fi
  done
  [ -t 1 ] && printf '\n'
  return 0
}

build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVX_WERROR=ON >"$log" 2>&1 || return 1
  cmake --build build -j"$(nproc)" --target vxeditr vx50 2>&1 | tee -a "$log" | progress
  return "${PIPESTATUS[0]}"
}

echo "Building vxeditr and vx50 in build/ (Release): a first build takes about 2 minutes on two" \
     "free cores (longer on a busy machine), a later one seconds."
if ! build; then
  tail -n 40 "$log"
  echo "The build failed; the whole output is in $log" >&2
  exit 1
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  picture="$PWD/build/vxeditr.png"
  # Qt's remarks about the offscreen platform are no news: they go to the log as well.
  QT_QPA_PLATFORM=offscreen build/bin/vxeditr --screenshot "$picture" examples/DEMO.SET 2>>"$log"
  echo "No display: the editor with the demo set was rendered to $picture"
else
  exec build/bin/vxeditr examples/DEMO.SET
fi
