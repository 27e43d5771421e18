#!/usr/bin/env bash
# Renders the main window as it opens into docs/main-window.png, without a
# display (Qt's offscreen platform).
#   scripts/screenshot-main-window.sh [build-dir] [out.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$root/docs/main-window.png}
if [[ ! -f "$build/build.ninja" && ! -f "$build/Makefile" ]]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVENDA_BUILD_BENCH=OFF
fi
cmake --build "$build" --target screenshot_main_window
mkdir -p "$(dirname "$out")"
QT_QPA_PLATFORM=offscreen "$build/tests/bin/screenshot_main_window" "$out"
