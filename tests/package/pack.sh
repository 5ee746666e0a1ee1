#!/usr/bin/env bash
# Packs the build tree with `cpack -G DEB` into SCRATCH_DIR: the program's
# package and, when the build makes the Python module, the module's. The
# other package tests read what this leaves there.
# Usage: pack.sh CPACK BUILD_DIR SCRATCH_DIR python|no-python
set -uo pipefail
cpack="$1" build="$2" scratch="$3" python="$4"

rm -rf "$scratch"
mkdir -p "$scratch"
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log"
  echo "FAIL: cpack -G DEB"
  exit 1
fi
expected=(orbitograph)
[[ "$python" == python ]] && expected+=(python3-orbitograph)
found=()
for deb in "$scratch"/*.deb; do
  [[ -f "$deb" ]] && found+=("$(dpkg-deb -f "$deb" Package)")
done
if [[ "${found[*]}" != "${expected[*]}" ]]; then
  echo "FAIL: expected the packages ${expected[*]}, cpack made: ${found[*]:-none}"
  exit 1
fi
ls "$scratch"/*.deb
