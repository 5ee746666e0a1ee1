#!/usr/bin/env bash
# Debian's own checker on the packed packages: fails on any error, prints the
# warnings and notes. A build configured for another prefix than /usr (the
# developers' /usr/local) packs its files where only a local package may put
# them; that complaint alone is set aside for it.
# Usage: lintian_test.sh SCRATCH_DIR PREFIX
set -uo pipefail
scratch="$1" prefix="$2"
debs=("$scratch"/*.deb)
[[ -f "${debs[0]}" ]] || { echo "FAIL: no package in $scratch"; exit 1; }
suppress=()
[[ "$prefix" == /usr ]] || suppress=(--suppress-tags dir-in-usr-local,file-in-usr-local)
report="$(lintian --display-info "${suppress[@]}" "${debs[@]}" 2>&1)"
status=$?
echo "$report"
errors="$(grep -c '^E: ' <<<"$report")"
if ((errors)); then
  echo "FAIL: lintian reports $errors errors"
  exit 1
fi
if ((status)); then
  echo "FAIL: lintian exited with $status"
  exit 1
fi
echo "lintian: no errors, $(grep -c '^W: ' <<<"$report") warnings, $(grep -c '^I: ' <<<"$report") notes"
