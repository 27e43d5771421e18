#!/usr/bin/env bash
# Starts Orvenda from a build tree (default: build/ of this repository).
# Without a display it does the program's main job on the bundled example
# with orvenda-cli instead, then says how to start the window.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${1:-build}
# A relative build folder is taken from here, else from the repository root.
if [[ "$BUILD" != /* && ! -d "$BUILD" ]]; then
  BUILD="$root/$BUILD"
fi
program="$BUILD/bin/Orvenda"
if [[ ! -x "$program" ]]; then
  echo "Orvenda is not built yet in $BUILD: run 'make run' from the repository root." >&2
  exit 1
fi
if [[ ! -e "$BUILD/bin/libHalvikLib.so" ]]; then
  echo "Note: $BUILD/bin/libHalvikLib.so is missing; the transform commands will say so." >&2
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  exec "$root/scripts/convert-example.sh" "$BUILD"
fi
exec "$program"
