#!/usr/bin/env bash
# Starts Orvenda from a build tree (default: build/ of this repository).
# Without a display it explains how to run it under a virtual one.
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
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "Run Orvenda on a desktop, or under a virtual display:" >&2
  echo "    xvfb-run -a $program" >&2
  exit 1
fi
exec "$program"
