#!/usr/bin/env bash
# Start-up of the editor with the demo set open, to its first painted window, against a plain
# Qt window doing the same; both render through the offscreen platform. Prints both medians and
# the ratio. Usage: bench/startup/startup_ratio.sh BUILD_DIR [RUNS]
set -euo pipefail
build=${1:-build}
runs=${2:-15}
export QT_QPA_PLATFORM=offscreen
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
elapsed() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(((end - start) / 1000))
}

# The two alternate, so that load on the machine falls on both alike.
: >"$out/editor.txt"
: >"$out/empty.txt"
for _ in $(seq "$runs"); do
  elapsed "$build/bin/vxeditr" --screenshot "$out/editor.png" "$build/examples/DEMO.SET" >>"$out/editor.txt"
  elapsed "$build/bin/vxbench_emptywindow" "$out/empty.png" >>"$out/empty.txt"
done
editor=$(median <"$out/editor.txt")
empty=$(median <"$out/empty.txt")
echo "editor with the demo set: ${editor} us (median of $runs)"
echo "empty Qt window:          ${empty} us (median of $runs)"
awk -v a="$editor" -v b="$empty" 'BEGIN {printf "ratio: %.2f\n", a / b}'
