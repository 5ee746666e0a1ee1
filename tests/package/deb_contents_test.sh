#!/usr/bin/env bash
# Packs the build tree with `cpack -G DEB`, unpacks the package into a scratch
# root with `dpkg -x` and checks what a user gets: both programs without any
# library search path of their own, the data picture, the manual, the manual
# page, the desktop entry and the metainfo (each passing its validator), the
# icons at their sizes, the Python module (imported from the unpacked tree)
# when the build makes it, and dependencies that name the libraries the
# programs link.
# Usage: deb_contents_test.sh CPACK BUILD_DIR SCRATCH_DIR PREFIX python|no-python
set -uo pipefail
cpack="$1" build="$2" scratch="$3" prefix="$4" python="$5"
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch"
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  echo "FAIL: cpack -G DEB"
  exit 1
fi
debs=("$scratch"/orbitograph_*.deb)
if ((${#debs[@]} != 1)) || [[ ! -f "${debs[0]}" ]]; then
  echo "FAIL: expected one orbitograph_*.deb in $scratch, found: ${debs[*]}"
  exit 1
fi
deb="${debs[0]}"
root="$scratch/root"
dpkg -x "$deb" "$root" || { echo "FAIL: dpkg -x $deb"; exit 1; }
usr="$root$prefix"

depends="$(dpkg-deb -f "$deb" Depends)"
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libhwy1 fonts-liberation; do
  [[ ", $depends," == *", $dep "* || ", $depends," == *", $dep,"* ]] || fail "Depends lacks $dep: $depends"
done
[[ "$(dpkg-deb -f "$deb" Recommends)" == "qt6-translations-l10n, python3-numpy" ]] ||
  fail "Recommends is not qt6-translations-l10n, python3-numpy"

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
expect_file share/man/man1/orbitograph-render.1.gz

for size in 16 32 48 64 128 256; do
  icon="share/icons/hicolor/${size}x${size}/apps/orbitograph.png"
  file -b "$usr/$icon" 2>/dev/null | grep -q "PNG image data, $size x $size," || fail "$prefix/$icon is not a $size x $size PNG"
done
grep -q '<svg' "$usr/share/icons/hicolor/scalable/apps/orbitograph.svg" 2>/dev/null || fail "the scalable icon is not SVG"

man="$(zcat "$usr/share/man/man1/orbitograph-render.1.gz" 2>/dev/null | sed 's/\\-/-/g')"
for option in counts output size legend-picture; do
  grep -q -- "-$option" <<<"$man" || fail "the manual page does not list --$option"
done

desktop-file-validate "$usr/share/applications/orbitograph.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/io.github.orbitograph.orbitograph.metainfo.xml" ||
  fail "appstreamcli validate"

if ((failures)); then exit 1; fi
echo "$(basename "$deb"): $depends"
