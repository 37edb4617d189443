#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the core tests
# once more under AddressSanitizer and UndefinedBehaviorSanitizer, then the whole
# suite (core, command line and windows on Qt's offscreen platform).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
jobs="$(nproc)"

cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DTICKFORGE_SANITIZE=ON \
  -DTICKFORGE_BUILD_GUI=OFF -DTICKFORGE_BUILD_CLI=OFF -DTICKFORGE_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build-sanitize -j"$jobs"
ctest --test-dir build-sanitize -L core --output-on-failure -j"$jobs"

bash scripts/build.sh
QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs"
