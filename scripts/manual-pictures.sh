#!/usr/bin/env bash
# Renders the manual's pictures with the editor itself, on the demo set, into
# data/manual/pictures/. Run after a change to a window; the PNGs are committed.
# Usage: scripts/manual-pictures.sh [BUILD_DIR]   (default: build)
# MIDI Setup shows the simulated instrument's ports on a private JACK server when jackd is there.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bin="$PWD/$build/bin"
out="$PWD/data/manual/pictures"
[ -x "$bin/vxeditr" ] || { echo "build the editor first: cmake --build $build --target vxeditr vx50-instrument" >&2; exit 1; }

work=$(mktemp -d)
# The status bar shows the set's directory: the same short one on every machine.
sets=/tmp/vxeditr-manual
demo="$sets/DEMO.SET"
rm -rf "$sets"
mkdir -p "$sets" "$out"
cp -r examples/DEMO.SET "$sets/"
rm -f "$out"/*.png
# Pictures never show this machine's settings.
export QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config"

shot() {
  local name=$1
  shift
  "$bin/vxeditr" --screenshot "$out/$name.png" "$@" 2>>"$work/editor.log" || { cat "$work/editor.log"; exit 1; }
}

size=900x600
shot arrangements --tab Arrangements --size "$size" "$demo"
shot arrangements-twin --tab Arrangements --twin --size "$size" "$demo"
shot styles --tab Styles --size "$size" "$demo"
shot programs --tab Programs --size "$size" "$demo"
shot backing-seq --tab "Backing Seq" --size "$size" "$demo"
shot songs --tab Songs --size "$size" "$demo"
shot kbd-sets --tab "KBD Sets" --size "$size" "$demo"
for item in arr:C11 sty:C11 prg:F11 bsq:1 sng:1; do
  shot "details-${item%%:*}" --dialog "details:$item" "$demo"
done
shot global --dialog global "$demo"
shot arrangement-global --dialog arrangement-global "$demo"
shot report --dialog report "$demo"
# Check Set on a copy of the demo set with a called style cut out, so that it has something to say.
mkdir -p "$sets/cut"
cp -r examples/DEMO.SET "$sets/cut/"
"$bin/vx50" cut "$sets/cut/DEMO.SET" sty:C11 >>"$work/editor.log" 2>&1
shot check --dialog check "$sets/cut/DEMO.SET"
shot options --dialog options "$demo"
shot about --dialog about "$demo"
shot tip --dialog tip "$demo"
# The Library window over three copies of the demo set; the index lies in this run's directory.
for name in LIVE STUDIO TOUR; do
  mkdir -p "$sets/library/$name.SET"
  for file in examples/DEMO.SET/DEMO.*; do cp "$file" "$sets/library/$name.SET/$name.${file##*.}"; done
done
export XDG_DATA_HOME="$work/data"
"$bin/vx50" library add "$sets/library" >>"$work/editor.log" 2>&1
shot library --dialog library "$demo"

if command -v jackd >/dev/null; then
  (
    cd "$work"
    # shellcheck source=../tests/midi/jack_session.sh
    source "$OLDPWD/tests/midi/jack_session.sh"
    start_jack
    start_instrument
    shot midi-setup --dialog midi-setup "$demo"
  )
else
  echo "jackd is missing: no picture of MIDI Setup" >&2
fi
rm -rf "$work" "$sets"
ls -1 "$out"
