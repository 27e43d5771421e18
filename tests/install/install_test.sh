#!/usr/bin/env bash
# The installed programs work from any prefix and from the unpacked Debian
# package: --version of both programs, and one conversion whose bytes equal
# the build tree's (DATE aside). The desktop entry, metainfo and MIME type
# pass their validators where those are installed.
set -uo pipefail
root=$1 build=$2
version=$(sed -n 's/^project(Orvenda VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

convert() {  # convert CLI OUTPUT
  "$1" convert "$root/examples/tone.dat" --layout iq -o "$2" --quiet --iq-filter 50M --if real --carrier 10
}
reference="$scratch/reference.awv"
convert "$build/bin/orvenda-cli" "$reference" || fail "the build tree's conversion failed"

check_tree() {  # check_tree NAME PREFIX
  local name=$1 prefix=$2
  [[ "$("$prefix/bin/orvenda-cli" --version)" == "orvenda-cli $version" ]] || fail "$name: orvenda-cli --version"
  [[ "$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/Orvenda" --version)" == "Orvenda $version" ]] ||
    fail "$name: Orvenda --version"
  local out="$scratch/$name.awv"
  if convert "$prefix/bin/orvenda-cli" "$out"; then
    cmp -s <(tail -n +2 "$reference") <(tail -n +2 "$out") || fail "$name: the converted file differs"
  else
    fail "$name: the conversion failed"
  fi
  # The engine and its panel file come from the private folder, not from bin/.
  [[ -e "$prefix/bin/libHalvikLib.so" ]] && fail "$name: a library in bin/"
  [[ -f "$prefix/lib/orvenda/Halvik.uir" ]] || fail "$name: no panel file in lib/orvenda"
}

cmake --install "$build" --prefix "$scratch/prefix" > /dev/null || fail "cmake --install"
# Moved after installation: the tree must not depend on its prefix.
mv "$scratch/prefix" "$scratch/moved"
check_tree installed "$scratch/moved"

if command -v dpkg-deb > /dev/null; then
  (cd "$build" && cpack -G DEB -B "$scratch/package" > "$scratch/cpack.log" 2>&1) || { cat "$scratch/cpack.log"; fail "cpack"; }
  deb=$(ls "$scratch"/package/orvenda_"$version"_*.deb 2> /dev/null | head -1)
  if [[ -n "$deb" ]]; then
    dpkg-deb -x "$deb" "$scratch/unpacked"
    check_tree package "$scratch/unpacked/usr"
    dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "package: no Qt dependency found by dpkg-shlibdeps"
    if command -v lintian > /dev/null; then
      lintian "$deb" 2>&1 | grep '^E:' && fail "lintian reports errors"
    fi
  else
    fail "no package file"
  fi
fi

share="$scratch/moved/share"
if command -v desktop-file-validate > /dev/null; then
  desktop-file-validate "$share/applications/orvenda.desktop" || fail "desktop entry"
fi
if command -v appstreamcli > /dev/null; then
  appstreamcli validate --no-net "$share/metainfo/io.github.orvenda.Orvenda.metainfo.xml" > "$scratch/as.log" 2>&1 ||
    { cat "$scratch/as.log"; fail "metainfo"; }
fi
if command -v update-mime-database > /dev/null; then
  update-mime-database "$share/mime" || fail "MIME type"
  grep -q 'application/x-orvenda-awv:\*\.awv' "$share/mime/globs2" || fail "MIME glob"
  [[ -s "$share/mime/magic" ]] || fail "MIME magic"
fi

((failures == 0)) && echo "install and package: passed"
exit $((failures > 0))
