#!/usr/bin/env bash
# scripts/install-deps.sh for a user who is not root: with packages and the
# test locale missing, apt-get and localedef run through sudo, never directly;
# with nothing missing nothing runs; without sudo it stops with a message.
# The system's commands are stand-ins on PATH that record how they were called.
set -euo pipefail
script="$(cd "$(dirname "$0")/../.." && pwd)/scripts/install-deps.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

stub() {  # stub NAME BODY
  printf '#!/usr/bin/env bash\n%s\n' "$2" > "$work/bin/$1"
  chmod +x "$work/bin/$1"
}
setup() {  # setup MISSING(yes|no) SUDO(yes|no)
  rm -rf "$work/bin" "$work/log"
  mkdir -p "$work/bin"
  touch "$work/log"
  stub id 'echo 1000'
  stub apt-get "echo \"apt-get \$*\" >> $work/log"
  stub localedef "echo \"localedef \$*\" >> $work/log"
  if [[ $1 == yes ]]; then
    stub dpkg-query '[[ "$*" == *qt6-base-dev* ]] && exit 1; echo "install ok installed"'
    stub locale 'echo C; echo POSIX'
  else
    stub dpkg-query 'echo "install ok installed"'
    stub locale 'echo C; echo de_DE.utf8'
  fi
  if [[ $2 == yes ]]; then
    stub sudo "echo \"sudo \$*\" >> $work/log; \"\$@\""
  fi
}
run() { PATH="$work/bin:/usr/bin:/bin" bash "$script" > "$work/out" 2>&1; }
fail() { echo "FAIL: $1"; cat "$work/log"; cat "$work/out"; exit 1; }

setup yes yes
run || fail "the script failed with sudo at hand"
grep -q '^sudo apt-get update' "$work/log" || fail "apt-get update not through sudo"
grep -q '^sudo env DEBIAN_FRONTEND=noninteractive apt-get install .*qt6-base-dev' "$work/log" ||
  fail "apt-get install not through sudo, or without the missing package"
grep -q '^sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8' "$work/log" || fail "localedef not through sudo"
[[ $(grep -c '^apt-get\|^localedef' "$work/log") -eq 3 ]] || fail "each command runs once"

setup no yes
run || fail "the script failed with nothing missing"
[[ ! -s "$work/log" ]] || fail "something ran although nothing was missing"

setup yes no
if run; then fail "it went on without root rights"; fi
grep -q 'needs root rights, and sudo is not installed' "$work/out" || fail "no message without sudo"
[[ ! -s "$work/log" ]] || fail "something ran without root rights"
echo "install-deps.sh: sudo rule holds"
