#!/usr/bin/env bash
# Plants one simple fault at a time in the core library and counts how many of them the core's tests
# catch. The faults come from a fixed list (scripts/mutants.txt: file, exact text, replacement). The
# work happens in a scratch copy of the sources, so the working tree is never changed.
#
#   scripts/mutants.sh [--list FILE] [--build DIR] [--from N] [--to N] [--timeout SECONDS]
#
# A fault is caught when the tests fail, crash or time out; it survives when they all pass. A fault
# whose text is not found (exactly once) stops the script before anything is built, so the list
# stays valid as the code changes.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
list=$root/scripts/mutants.txt
build=$root/build-mutants
from=1
to=0
limit=120
while (($#)); do
    case $1 in
        --list) list=$2; shift 2 ;;
        --build) build=$2; shift 2 ;;
        --from) from=$2; shift 2 ;;
        --to) to=$2; shift 2 ;;
        --timeout) limit=$2; shift 2 ;;
        *) echo "usage: $0 [--list FILE] [--build DIR] [--from N] [--to N] [--timeout SECONDS]" >&2; exit 2 ;;
    esac
done

source_copy=$build/source
tree=$build/tree
mkdir -p "$build"
# Copy the files git knows of (committed or not); a file that did not change keeps its time, so only
# what changed since the last run is rebuilt.
(cd "$root" && git ls-files -co --exclude-standard -z) | python3 -c '
import os, shutil, sys
root, copy = sys.argv[1:3]
wanted = set(p for p in sys.stdin.buffer.read().decode().split("\0") if p and os.path.isfile(os.path.join(root, p)))
for directory, _, names in os.walk(copy):
    for name in names:
        path = os.path.relpath(os.path.join(directory, name), copy)
        if path not in wanted:
            os.remove(os.path.join(copy, path))
for path in wanted:
    source, target = os.path.join(root, path), os.path.join(copy, path)
    data = open(source, "rb").read()
    if os.path.exists(target) and open(target, "rb").read() == data:
        continue
    os.makedirs(os.path.dirname(target), exist_ok=True)
    shutil.copy2(source, target)
    os.utime(target)
' "$root" "$source_copy"

# The list: file, text, replacement separated by tabs; '#' starts a comment line.
files=() finds=() replacements=()
while IFS= read -r line || [[ -n $line ]]; do
    [[ -z $line || $line == \#* ]] && continue
    IFS=$'\t' read -r file find replacement <<<"$line"
    files+=("$file") finds+=("$find") replacements+=("${replacement-}")
done <"$list"
total=${#files[@]}
((to == 0 || to > total)) && to=$total

# Replaces the one occurrence of $2 in file $1 by $3 (all taken literally); fails otherwise.
substitute() {
    python3 - "$@" <<'EOF'
import sys
path, find, replacement = sys.argv[1:4]
text = open(path, encoding="utf-8").read()
count = text.count(find)
if count != 1:
    sys.exit(f"{path}: the text occurs {count} times, not once: {find}")
if len(sys.argv) > 4:
    sys.exit(0)  # only checking
open(path, "w", encoding="utf-8").write(text.replace(find, replacement))
EOF
}

invalid=0
for ((i = 0; i < total; ++i)); do
    if [[ ! -f $source_copy/${files[i]} ]]; then
        echo "mutant $((i + 1)): no file ${files[i]}" >&2
        invalid=1
    elif ! substitute "$source_copy/${files[i]}" "${finds[i]}" "${replacements[i]}" check; then
        echo "mutant $((i + 1)) does not apply" >&2
        invalid=1
    fi
done
if ((invalid)); then
    echo "The fault list no longer matches the code: fix $list." >&2
    exit 1
fi

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S "$source_copy" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVX_BUILD_EDITOR=OFF \
    -DVX_BUILD_BENCH=OFF "${launcher[@]}" >"$build/configure.log"

build_tests() { cmake --build "$tree" -j2 --target vxcore_tests vx50 >"$build/build.log" 2>&1; }
run_tests() {
    (cd "$tree" && timeout --kill-after=10 "$limit" bin/vxcore_tests --gtest_fail_fast --gtest_brief=1 \
        >"$build/test.log" 2>&1)
}

echo "Building the unchanged core and its tests..."
build_tests || { echo "The unchanged sources do not build: see $build/build.log" >&2; exit 1; }
run_tests || { echo "The tests fail without any fault planted: see $build/test.log" >&2; exit 1; }

# The file being changed, restored whatever happens (also on Ctrl+C).
current=""
restore() {
    if [[ -n $current ]]; then
        cp "$build/original" "$source_copy/$current"
        current=""
    fi
}
trap 'restore' EXIT
trap 'restore; exit 130' INT TERM

caught=0 survived=0 unbuilt=0
survivors=()
results=$build/results.txt
: >"$results"
for ((i = from - 1; i < to; ++i)); do
    number=$((i + 1))
    cp "$source_copy/${files[i]}" "$build/original"
    current=${files[i]}
    substitute "$source_copy/${files[i]}" "${finds[i]}" "${replacements[i]}"
    if ! build_tests; then
        verdict="did not build"
        unbuilt=$((unbuilt + 1))
    elif run_tests; then
        verdict=SURVIVED
        survived=$((survived + 1))
        survivors+=("$number ${files[i]}: ${finds[i]}  ->  ${replacements[i]}")
    else
        verdict=caught
        caught=$((caught + 1))
    fi
    restore
    # The first test that failed, or how the run ended.
    by=""
    if [[ $verdict == caught ]]; then
        by=$(grep -m1 -o '\[  FAILED  \] [^ ]*' "$build/test.log" | cut -c14-) || true
        [[ -z $by ]] && by="(crash or timeout)"
    fi
    printf '%3d %-14s %s %s\n' "$number" "$verdict" "${files[i]}" "$by" | tee -a "$results"
done

echo
if ((${#survivors[@]})); then
    echo "Survivors:"
    printf '  %s\n' "${survivors[@]}"
fi
((unbuilt)) && echo "$unbuilt faults did not compile: correct them in $list." >&2
echo "Score: $caught caught of $((caught + survived)) ($survived survived)"
((unbuilt == 0))
