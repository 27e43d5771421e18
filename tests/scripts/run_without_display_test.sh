#!/usr/bin/env bash
# `make run` on a machine without a display: the example is converted, its
# report printed, and the way to start the window named; exit code 0.
set -uo pipefail
root=$1 build=$2
rm -f "$build/tone-if.awv"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/scripts/run-orvenda.sh" "$build" 2>&1)
status=$?
fail() { echo "FAIL: $1"; echo "$out"; exit 1; }
[[ $status -eq 0 ]] || fail "exit code $status"
[[ -s "$build/tone-if.awv" ]] || fail "no waveform file"
for expected in "Samples           4096" "Marker 1          ON POS 0;2048;2048;1" \
                "Waveform file written: $build/tone-if.awv" "xvfb-run -a $build/bin/Orvenda"; do
  [[ "$out" == *"$expected"* ]] || fail "missing: $expected"
done
echo "run without display: passed"
