#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for a given time.
#
#   scripts/fuzz.sh [seconds-per-target] [target...]
#
# Default: 30 seconds for every target in fuzz/CMakeLists.txt. Targets are named
# without the "fuzz_" prefix (awv_reader, input_scanner, ...).
# Each run starts from the seeds in fuzz/corpus/<target> plus what earlier runs
# found (kept in $BUILD/corpus/<target>; the seeds are never written to).
# A crash, a broken check, a leak, a hang or running out of memory fails the
# script; the input that did it is kept in $BUILD/findings/<target>/ and named
# in the output. Replay one with: $BUILD/bin/fuzz_<target> <file>
# Environment: BUILD_FUZZ (build folder, default build-fuzz), FUZZ_JOBS (targets
# run at the same time, default 1), FUZZ_MAX_LEN (largest input, default 8192;
# larger inputs reach buffer edges but run slower), CXX_FUZZ (clang++ to use).
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
BUILD=${BUILD_FUZZ:-build-fuzz}
JOBS=${FUZZ_JOBS:-1}

ORVENDA_WITH_FUZZ=1 scripts/install-deps.sh
compiler=${CXX_FUZZ:-$(command -v clang++ || command -v clang++-14)}
cmake -S fuzz -B "$BUILD" -G Ninja -DCMAKE_CXX_COMPILER="$compiler" >/dev/null
cmake --build "$BUILD" -j "$(nproc)"

if (($#)); then
  targets=("$@")
else
  mapfile -t targets < <(cd "$BUILD/bin" && ls fuzz_* | sed 's/^fuzz_//')
fi

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run_target() {
  local target=$1
  local program="$BUILD/bin/fuzz_$target"
  [[ -x $program ]] || { echo "no fuzz target \"$target\"" >&2; return 1; }
  local work="$BUILD/corpus/$target" findings="$BUILD/findings/$target" log="$BUILD/logs/$target.log"
  mkdir -p "$work" "$findings" "$(dirname "$log")"
  local max_len=8192
  [[ $target == marker_file ]] && max_len=16384  # the 1002-point seed is 8 KB
  max_len=${FUZZ_MAX_LEN:-$max_len}
  # New inputs go to the first folder only: the seeds stay as they are.
  if "$program" "$work" "fuzz/corpus/$target" -max_total_time="$seconds" -max_len="$max_len" \
       -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" >"$log" 2>&1; then
    local runs
    runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo '?')
    printf '%-24s ok     %12s executions in %ss\n' "$target" "$runs" "$seconds"
  else
    printf '%-24s FAILED (log: %s)\n' "$target" "$log"
    grep -E 'check failed|ERROR:|runtime error|SUMMARY' "$log" | head -5 | sed 's/^/    /'
    grep -o 'Test unit written to .*' "$log" | sed 's/^/    /'
    return 1
  fi
}

failed=0
running=0
for target in "${targets[@]}"; do
  if ((JOBS > 1)); then
    run_target "$target" &
    if ((++running >= JOBS)); then
      wait -n || failed=1
      ((running--))
    fi
  else
    run_target "$target" || failed=1
  fi
done
while ((running > 0)); do
  wait -n || failed=1
  ((running--))
done
exit $failed
