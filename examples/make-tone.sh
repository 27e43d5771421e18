#!/usr/bin/env sh
# Writes tone.dat: 4096 samples of a complex tone at 1/64 of the sampling
# rate, amplitude 0.8, as two-column text ("I,Q" per line).
# Usage: examples/make-tone.sh > examples/tone.dat
awk 'BEGIN {
  pi = atan2(0, -1)
  for (k = 0; k < 4096; k++) {
    phase = 2 * pi * k / 64
    printf "%.6f,%.6f\n", 0.8 * cos(phase), 0.8 * sin(phase)
  }
}'
