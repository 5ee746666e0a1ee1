#!/usr/bin/env bash
# Fails when an executable of the build tree has an RPATH or RUNPATH entry
# that is empty or relative: ld.so resolves those against the current
# directory, so a program started in a folder holding a file named like one of
# its libraries would load that file.
# Usage: build_tree_runpath_test.sh BUILD_DIR
set -uo pipefail
build="$1"
checked=0
bad=0
while IFS= read -r -d '' exe; do
  dyn="$(readelf -d "$exe" 2>/dev/null)" || continue
  checked=$((checked + 1))
  grep -qE '\((RUNPATH|RPATH)\)' <<<"$dyn" || continue
  path="$(sed -nE 's/.*\((RUNPATH|RPATH)\).*\[(.*)\]$/\2/p' <<<"$dyn")"
  # The appended colon keeps a trailing empty entry as a field of its own.
  IFS=':' read -r -a entries <<<"$path:"
  for entry in "${entries[@]}"; do
    if [[ "$entry" != /* && "$entry" != '$ORIGIN'* ]]; then
      echo "search path [$path] of $exe has the entry '$entry', resolved against the current directory"
      bad=1
      break
    fi
  done
done < <(find "$build" -type f -perm -u+x -not -path '*/CMakeFiles/*' -not -path '*/tests/package/deb/*' -print0)
if ((checked < 2)); then
  echo "found only $checked executables under $build"
  exit 1
fi
echo "checked $checked executables"
exit "$bad"
