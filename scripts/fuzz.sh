#!/bin/sh
# Runs every fuzz target for the given number of seconds (default 60 each) in a clang build
# whose core library is instrumented, with AddressSanitizer and UndefinedBehaviorSanitizer.
# New inputs that reach new code are kept in fuzz/corpus/<target>/, minimised to those that add
# coverage (commit them: the replay tests run them on every build); inputs that crash are kept
# in fuzz/findings/<target>/.
# Usage: scripts/fuzz.sh [seconds] [target ...]     e.g. scripts/fuzz.sh 300 sng itemfile
#        scripts/fuzz.sh --build-only                 builds every target and runs none
set -eu
build_only=false
if [ "${1:-}" = "--build-only" ]; then
    build_only=true
    shift
fi
seconds=${1:-60}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "$0")/.." && pwd)
build=${VX_FUZZ_BUILD:-$root/build-fuzz}
launcher=""
command -v ccache >/dev/null 2>&1 && launcher="-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVX_FUZZ=ON -DVX_WERROR=ON \
    -DVX_SANITIZE=ON -DVX_BUILD_EDITOR=OFF -DVX_BUILD_BENCH=OFF $launcher >/dev/null

targets="$*"
if [ -z "$targets" ]; then
    targets=$(cd "$root/fuzz" && ls ./*_fuzz.cpp | sed 's|^\./||; s|_fuzz\.cpp$||')
fi
names=""
for target in $targets; do names="$names ${target}_fuzz"; done
# shellcheck disable=SC2086
cmake --build "$build" -j"$(nproc)" --target vx_data $names
$build_only && exit 0

status=0
for target in $targets; do
    corpus="$root/fuzz/corpus/$target"
    findings="$root/fuzz/findings/$target"
    mkdir -p "$corpus" "$findings"
    echo "== $target: $seconds s"
    # The first directory receives what the run finds; the shipped sets and the generated
    # seeds (files as the instrument's own save writes them) are read-only seeds.
    seeds="$build/bin/X50EMPTY.SET $build/examples/DEMO.SET"
    [ -d "$build/fuzz-seeds/$target" ] && seeds="$seeds $build/fuzz-seeds/$target"
    # shellcheck disable=SC2086
    if ! "$build/bin/${target}_fuzz" -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$findings/" "$corpus" $seeds; then
        echo "== $target: finding kept in $findings" >&2
        status=1
    fi
    # Only the inputs that add coverage stay, so the corpus the tests replay stays small.
    minimized="$corpus.minimized"
    rm -rf "$minimized" && mkdir -p "$minimized"
    if "$build/bin/${target}_fuzz" -merge=1 "$minimized" "$corpus" >/dev/null 2>&1; then
        rm -rf "$corpus" && mv "$minimized" "$corpus"
    else
        rm -rf "$minimized"
    fi
    rmdir "$findings" 2>/dev/null || true
done
rmdir "$root/fuzz/findings" 2>/dev/null || true
exit $status
