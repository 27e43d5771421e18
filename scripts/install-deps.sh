#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config locales
          qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
          libgtest-dev libgmock-dev libcli11-dev libfftw3-dev nlohmann-json3-dev
          xvfb xauth
          python3 python3-numpy python3-pytest
          help2man dpkg-dev file lintian desktop-file-utils appstream shared-mime-info)
if [[ "${ORVENDA_WITH_FUZZ:-0}" == 1 ]]; then
  packages+=(clang libclang-rt-14-dev)
fi

# What changes the system (apt-get, localedef) runs as root: directly for
# root, through sudo for anyone else. Nothing runs when nothing is missing.
as_root() {
  if [[ $(id -u) -eq 0 ]]; then
    "$@"
  elif command -v sudo >/dev/null 2>&1; then
    sudo "$@"
  else
    echo "install-deps.sh: '$*' needs root rights, and sudo is not installed; run it as root once" >&2
    exit 1
  fi
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  as_root apt-get update -qq
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A comma-decimal locale, so the tests can show that numbers keep "."
# whatever the user's locale is. It goes into the system's locale archive.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  echo "Generating the de_DE.UTF-8 locale for the tests"
  as_root localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
