#!/usr/bin/env bash
# Starts Orvenda from a build tree; without a display it explains how to run it.
set -euo pipefail
BUILD=${1:-build}
program="$BUILD/bin/Orvenda"
if [[ ! -x "$program" ]]; then
  echo "Orvenda is not built yet: run 'make run' from the repository root." >&2
  exit 1
fi
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are unset)." >&2
  echo "Run Orvenda on a desktop, or under a virtual display:" >&2
  echo "    xvfb-run -a $program" >&2
  exit 1
fi
exec "$program"
