#!/usr/bin/env bash
# Builds the project with AddressSanitizer and UndefinedBehaviorSanitizer and runs the widget-free tests.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD_ASAN:-build-asan}
scripts/install-deps.sh
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVENDA_SANITIZE=ON -DORVENDA_BUILD_BENCH=OFF
cmake --build "$BUILD" -j "$(nproc)"
cd "$BUILD"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" -LE gui
