#!/usr/bin/env bash
# Builds the engine benchmark in a Release build and runs the whole table
# (every layout, both IF forms, the memory check). Extra arguments go to the
# benchmark, e.g. --samples 1048576 or --repeat 5.
#   bench/engine/run-engine-bench.sh [benchmark arguments...]
# BUILD selects the build folder (default: build-bench).
set -euo pipefail
cd "$(dirname "$0")/../.."
BUILD=${BUILD:-build-bench}
scripts/install-deps.sh
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVENDA_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD" --target halvik_engine_bench
exec "$BUILD/bench/bin/halvik_engine_bench" "$@"
