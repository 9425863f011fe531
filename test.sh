#!/usr/bin/env bash
# Builds the editor twice (plain, and with AddressSanitizer and UndefinedBehaviorSanitizer),
# builds the Debian package from the plain build, and runs every test in both builds.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh

jobs=$(nproc)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j"$jobs"
cmake --build build --target package
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVX_SANITIZE=ON
cmake --build build-asan -j"$jobs"

export QT_QPA_PLATFORM=offscreen
echo "== tests, sanitizer build"
(cd build-asan && ctest --output-on-failure -j"$jobs")
echo "== tests, plain build"
(cd build && ctest --output-on-failure -j"$jobs")
