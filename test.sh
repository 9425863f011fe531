#!/usr/bin/env bash
# Builds the editor twice (plain Release, and Debug with AddressSanitizer and
# UndefinedBehaviorSanitizer), builds the Debian package from the plain build and the fuzz targets
# with clang, and runs every test in both builds. Warnings are errors in all of them.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVX_WERROR=ON
cmake --build build -j"$jobs"
cmake --build build --target package
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVX_SANITIZE=ON -DVX_WERROR=ON
cmake --build build-asan -j"$jobs"
# The fuzz targets are only built here (their corpus is replayed by the tests), so that a change
# that breaks scripts/fuzz.sh under clang is seen at once.
scripts/fuzz.sh --build-only

export QT_QPA_PLATFORM=offscreen
echo "== tests, sanitizer build"
(cd build-asan && ctest --output-on-failure -j"$jobs")
echo "== tests, plain build"
(cd build && ctest --output-on-failure -j"$jobs")
