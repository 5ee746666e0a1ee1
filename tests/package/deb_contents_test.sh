#!/usr/bin/env bash
# Unpacks the packed packages with `dpkg -x` into a scratch root and checks
# what a user gets. orbitograph: both programs without any library search
# path of their own, the data picture, the manual (and, under /usr, its
# doc-base entry), both manual pages, the desktop entry and the metainfo
# (each passing its validator), the icons at their sizes. python3-orbitograph: the module
# (imported from the unpacked tree). Both: the changelog of the project's
# version, the copyright file, and dependencies that name the libraries and
# modules they use.
# Usage: deb_contents_test.sh SCRATCH_DIR PREFIX VERSION python|no-python
set -uo pipefail
scratch="$1" prefix="$2" version="$3" python="$4"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
root="$scratch/root"
rm -rf "$root"
declare -A debs
packages=(orbitograph)
[[ "$python" == python ]] && packages+=(python3-orbitograph)
for package in "${packages[@]}"; do
  deb="$(echo "$scratch/${package}_"*.deb)"
  [[ -f "$deb" ]] || { echo "FAIL: no $package package in $scratch"; exit 1; }
  dpkg -x "$deb" "$root" || { echo "FAIL: dpkg -x $deb"; exit 1; }
  debs[$package]="$deb"
done
usr="$root$prefix"

# Each row: package, field, the entries it must hold (a comma-separated list;
# for Recommends the whole field).
has_entries() {
  local deb="$1" field="$2" value
  value="$(dpkg-deb -f "$deb" "$field")"
  IFS=',' read -r -a wanted <<<"$3"
  for entry in "${wanted[@]}"; do
    entry="${entry# }"
    [[ ", $value," == *", $entry "* || ", $value," == *", $entry,"* ]] ||
      fail "$(basename "$deb") $field lacks '$entry': $value"
  done
}
has_entries "${debs[orbitograph]}" Depends "libc6, libstdc++6, libqt6core6, libqt6gui6, libqt6widgets6, libhwy1, fonts-liberation"
[[ "$(dpkg-deb -f "${debs[orbitograph]}" Recommends)" == "qt6-translations-l10n" ]] ||
  fail "orbitograph Recommends is not qt6-translations-l10n"

for exe in orbitograph orbitograph-render; do
  file="$usr/bin/$exe"
  if [[ ! -x "$file" ]]; then
    fail "$prefix/bin/$exe missing or not executable"
    continue
  fi
  search="$(readelf -d "$file" | grep -E '\((RUNPATH|RPATH)\)')" && fail "$exe has a library search path: $search"
done
counts="$("$usr/bin/orbitograph-render" --counts 2>&1)"
grep -q '"start_points": 160000' <<<"$counts" || fail "the packed orbitograph-render --counts printed: $counts"

module="$(find "$usr/lib" -path '*-packages/orbitograph/__init__.py' -printf '%h\n' 2>/dev/null | head -n 1)"
if [[ "$python" == no-python ]]; then
  [[ -z "$module" ]] || fail "a build without the Python module packed it under $module"
elif [[ -z "$module" ]] || ! compgen -G "$module/_orbitograph.cpython-*.so" >/dev/null ||
  [[ ! -s "$module/__init__.pyi" ]]; then
  fail "the Python package orbitograph (__init__.py, .pyi, compiled module) is missing under $prefix/lib"
else
  dpkg-deb -c "${debs[orbitograph]}" | grep -q '_orbitograph' && fail "the program's package carries the Python module"
  python3="$(/usr/bin/python3 -c 'import sys; print(f"{sys.version_info[0]}.{sys.version_info[1]}")')"
  has_entries "${debs[python3-orbitograph]}" Depends "python3 (>= $python3~), python3-numpy, orbitograph (= $version), libqt6gui6"
  [[ "$(dpkg-deb -f "${debs[python3-orbitograph]}" Recommends)" == "python3-distributed, python3-xarray, python3-zarr" ]] ||
    fail "python3-orbitograph Recommends is not python3-distributed, python3-xarray, python3-zarr"
  imported="$(cd / && PYTHONPATH="$(dirname "$module")" /usr/bin/python3 -c \
    'import orbitograph; print(orbitograph.compute(step=0.1).counts["start_points"])' 2>&1)"
  [[ "$imported" == 1600 ]] || fail "the packed Python module printed: $imported"
fi

expect_file() {
  [[ -s "$usr/$1" ]] || fail "$prefix/$1 missing or empty"
}
expect_file share/orbitograph/bitmap3.bmp
expect_file share/doc/orbitograph/html/index.html
expect_file share/doc/orbitograph/html/style.css
expect_file share/applications/orbitograph.desktop
expect_file share/metainfo/io.github.orbitograph.orbitograph.metainfo.xml
expect_file share/icons/hicolor/scalable/apps/orbitograph.svg

for size in 16 32 48 64 128 256; do
  icon="share/icons/hicolor/${size}x${size}/apps/orbitograph.png"
  file -b "$usr/$icon" 2>/dev/null | grep -q "PNG image data, $size x $size," || fail "$prefix/$icon is not a $size x $size PNG"
done
grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/orbitograph.svg" 2>/dev/null || fail "the scalable icon is not SVG"

# Each row: manual page, options it must describe.
while read -r page options; do
  man="$(zcat "$usr/share/man/man1/$page.1.gz" 2>/dev/null | sed 's/\\-/-/g')"
  [[ -n "$man" ]] || { fail "$prefix/share/man/man1/$page.1.gz missing or empty"; continue; }
  for option in $options; do
    grep -q -- "$option" <<<"$man" || fail "the manual page of $page does not describe $option"
  done
done <<'ROWS'
orbitograph-render --counts --output --size --legend-picture
orbitograph -platform -style -geometry -reverse bitmap3.bmp index.html
ROWS

for package in "${packages[@]}"; do
  doc="$root/usr/share/doc/$package"
  head="$(zcat "$doc/changelog.gz" 2>/dev/null | head -n 1)"
  [[ "$head" == "orbitograph ($version) "* ]] || fail "$package's changelog.gz begins with: $head"
  grep -q '^Copyright: .* the Orbitograph authors$' "$doc/copyright" 2>/dev/null ||
    fail "$package's copyright file does not name the Orbitograph authors"
done

# doc-base registers documents under /usr/share/doc only.
if [[ "$prefix" == /usr ]]; then
  grep -qx "Index: /usr/share/doc/orbitograph/html/index.html" "$root/usr/share/doc-base/orbitograph" 2>/dev/null ||
    fail "the doc-base entry does not name the manual's index"
else
  [[ ! -e "$root/usr/share/doc-base" ]] || fail "a package for $prefix registers its manual with doc-base"
fi
desktop-file-validate "$usr/share/applications/orbitograph.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/io.github.orbitograph.orbitograph.metainfo.xml" ||
  fail "appstreamcli validate"

if ((failures)); then exit 1; fi
echo "checked ${packages[*]}"
