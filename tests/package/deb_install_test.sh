#!/usr/bin/env bash
# Installs the packed packages with apt as a user would, runs what they put
# on the system (both programs, the manual pages, the desktop entry, the
# module from Debian's interpreter) and removes them again, checking that no
# file of theirs is left. Needs root and a system without either package and
# without any file they hold (a `cmake --install` into the same prefix):
# otherwise it skips, so it never replaces or removes what is installed.
# Usage: deb_install_test.sh SCRATCH_DIR python|no-python
set -uo pipefail
scratch="$1" python="$2"
skip() {
  echo "SKIP: $*"
  exit 77
}
[[ $(id -u) -eq 0 ]] || skip "installing needs root"
command -v apt-get >/dev/null || skip "no apt-get"
packages=(orbitograph)
[[ "$python" == python ]] && packages+=(python3-orbitograph)
debs=()
for package in "${packages[@]}"; do
  debs+=("$(echo "$scratch/${package}_"*.deb)")
  [[ -f "${debs[-1]}" ]] || { echo "FAIL: no $package package in $scratch"; exit 1; }
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q ' installed$' && skip "$package is installed"
done
files="$scratch/installed-files"
for deb in "${debs[@]}"; do dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -n 's|^\./|/|; /[^/]$/p'; done >"$files"
while IFS= read -r file; do
  [[ -e "$file" ]] && skip "$file is on the system already"
done <"$files"

apt_get() {
  DEBIAN_FRONTEND=noninteractive apt-get -y -q -o DPkg::Lock::Timeout=120 "$@" >>"$scratch/apt.log" 2>&1
}
remove() { apt_get remove "${packages[@]}"; }
trap remove EXIT
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
if ! apt_get install --no-install-recommends "${debs[@]}"; then
  cat "$scratch/apt.log"
  echo "FAIL: apt-get install"
  exit 1
fi

cd /
counts="$(orbitograph-render --counts 2>&1)"
grep -q '"start_points": 160000' <<<"$counts" || fail "the installed orbitograph-render --counts printed: $counts"
# The window program has no exit of its own: alive after two seconds on the
# offscreen platform means it started.
timeout 2 orbitograph -platform offscreen >"$scratch/window.log" 2>&1
status=$?
((status == 124)) || fail "orbitograph -platform offscreen ended with $status: $(cat "$scratch/window.log")"
for page in orbitograph orbitograph-render; do
  man -w "$page" >/dev/null 2>&1 || fail "man finds no page $page"
done
desktop="$(grep '/applications/orbitograph.desktop$' "$files")"
desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
exec_line="$(sed -n 's/^Exec=//p' "$desktop")"
command -v "${exec_line%% *}" >/dev/null || fail "the desktop entry runs '$exec_line', which is not on PATH"
if [[ "$python" == python ]]; then
  imported="$(/usr/bin/python3 -c \
    'import orbitograph; print(orbitograph.compute(step=0.1).counts["start_points"], orbitograph.__file__)' 2>&1)"
  [[ "$imported" == "1600 "*/dist-packages/orbitograph/__init__.py ]] ||
    fail "the installed module printed: $imported"
fi

trap - EXIT
remove || fail "apt-get remove: $(tail -n 5 "$scratch/apt.log")"
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q ' installed$' && fail "$package is still installed"
done
left=0
while IFS= read -r file; do
  [[ -e "$file" ]] && left=$((left + 1)) && echo "left behind: $file"
done <"$files"
((left == 0)) || fail "$left files left behind after removal"
if ((failures)); then exit 1; fi
echo "installed, ran and removed ${packages[*]}"
