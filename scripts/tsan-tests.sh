#!/usr/bin/env bash
# Builds the engine, its progress layer and the tests that call them from
# several threads (the engine's own tests, since a conversion runs on a team
# of threads, and the input scanner's, which parses text on several threads)
# with ThreadSanitizer, and runs those tests. Any data race or lock-order
# report fails the script. Only the engine and the Qt-free logic are built: the
# program's widgets and Qt itself are not instrumented, so they stay out.
# Environment: BUILD_TSAN (build folder, default build-tsan), JOBS (default:
# the number of cores).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD_TSAN:-build-tsan}
JOBS=${JOBS:-$(nproc)}
tests=(engine_threads_test engine_core_test engine_progress_test input_logic_test)

scripts/install-deps.sh
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORVENDA_SANITIZE_THREAD=ON \
  -DORVENDA_BUILD_GUI=OFF -DORVENDA_BUILD_BENCH=OFF -DORVENDA_MAN_PAGES=OFF
cmake --build "$BUILD" -j "$JOBS" --target HalvikLib OrvendaRte "${tests[@]}"

# halt_on_error: the first report fails the test program.
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
for t in "${tests[@]}"; do
  echo "--- $t under ThreadSanitizer"
  "$BUILD/tests/bin/$t"
done
