#!/usr/bin/env bash
# The program's main job without a display: converts the bundled example
# tone with orvenda-cli as the README walkthrough does in the window (filter
# 50 MHz, continuous output, marker 1 high for the first half, IF at 10 MHz),
# shows the file's report and says how to start the window.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-build}
[[ "$BUILD" != /* && ! -d "$BUILD" ]] && BUILD="$root/$BUILD"
BUILD=$(cd "$BUILD" && pwd)
cli="$BUILD/bin/orvenda-cli"
output="$BUILD/tone-if.awv"
marker="$BUILD/tone-marker1.dat"

echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset): converting the example with orvenda-cli instead."
printf '0\t1\r\n2048\t0\r\n' > "$marker"
"$cli" convert "$root/examples/tone.dat" --layout iq -o "$output" --quiet \
  --iq-filter 50M --sequence continuous --marker1 "$marker" --if real --carrier 10
echo
"$cli" info "$output"
echo
echo "Waveform file written: $output"
echo "To start the window: on a desktop run $BUILD/bin/Orvenda,"
echo "or under a virtual display: xvfb-run -a $BUILD/bin/Orvenda"
