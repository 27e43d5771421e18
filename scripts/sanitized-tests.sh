#!/usr/bin/env bash
# Builds the project with AddressSanitizer and UndefinedBehaviorSanitizer and
# runs the whole test suite, GUI tests included (Qt's offscreen platform).
# Any sanitizer report fails its test. Leaks are reported except those of the
# third-party libraries listed, with reasons, in tests/sanitizer-suppressions/.
# Environment: BUILD_ASAN (build folder, default build-asan), JOBS (default:
# the number of cores).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD_ASAN:-build-asan}
JOBS=${JOBS:-$(nproc)}
suppressions=$PWD/tests/sanitizer-suppressions

scripts/install-deps.sh
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORVENDA_SANITIZE=ON -DORVENDA_BUILD_BENCH=OFF \
  -DORVENDA_MAN_PAGES=OFF
cmake --build "$BUILD" -j "$JOBS"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:check_initialization_order=1:strict_init_order=1
export LSAN_OPTIONS=suppressions=$suppressions/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
cd "$BUILD"
# The Python module loads the library into an interpreter without the
# sanitizer runtime, and the package test repackages the build: both run in
# the plain build only.
ctest --output-on-failure -j "$JOBS" --timeout 900 -E "^(PythonModule|InstallAndPackage)$"
