#!/usr/bin/env bash
# Renders the waveform view's pictures into docs/view-*.png without a display
# (Qt's offscreen platform): a 16-QAM-like demonstration signal with a little
# noise is written as float pairs, converted by orvenda-cli with a marker,
# then shown tab by tab.
#   scripts/screenshot-views.sh [build-dir] [out-folder]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$root/docs}
if [[ ! -f "$build/build.ninja" && ! -f "$build/Makefile" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVENDA_BUILD_BENCH=OFF
fi
cmake --build "$build" --target take_view_screenshots orvenda-cli HalvikLib OrvendaRte
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work/demo.TXD" <<'PY'
import math, random, struct, sys
random.seed(14)
levels = [-3, -1, 1, 3]
symbols = [(random.choice(levels), random.choice(levels)) for _ in range(8193)]
span = 8  # samples per symbol, raised-cosine transitions between symbols
with open(sys.argv[1], "wb") as out:
    for n in range(65536):
        k, frac = divmod(n, span)
        w = 0.5 - 0.5 * math.cos(math.pi * frac / span)
        (i0, q0), (i1, q1) = symbols[k], symbols[k + 1]
        i = ((1 - w) * i0 + w * i1) / 3 + random.gauss(0, 0.02)
        q = ((1 - w) * q0 + w * q1) / 3 + random.gauss(0, 0.02)
        out.write(struct.pack("<ff", i, q))
PY
printf '0 1\n8192 0\n16384 1\n16416 0\n' > "$work/gate.dat"
"$build/bin/orvenda-cli" convert "$work/demo.TXD" -o "$work/demo.awv" --fs 61.44 --marker1 "$work/gate.dat" --quiet
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen "$build/bin/take_view_screenshots" "$work/demo.awv" "$out"
