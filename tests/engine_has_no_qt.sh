#!/usr/bin/env bash
# Checks that the engine library includes no Qt header: no file under
# src/util, src/settings, src/input, src/words, src/counting or src/results may
# hold "#include <Q..." (or "#include "Q..."). Lists the offending lines and
# exits 1; exits 0 when the engine is free of Qt.
#
# Usage: engine_has_no_qt.sh [REPO_ROOT]   (default: the folder above this script)
set -euo pipefail

root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
cd "${root}"

dirs=()
for d in src/util src/settings src/input src/words src/counting src/results; do
  [[ -d "${d}" ]] && dirs+=("${d}")
done
if [[ ${#dirs[@]} -eq 0 ]]; then
  echo "engine_has_no_qt: no engine folders under ${root}" >&2
  exit 1
fi

status=0
hits="$(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]Q' -- "${dirs[@]}")" || status=$?
if [[ ${status} -eq 0 ]]; then
  echo "engine_has_no_qt: the engine includes Qt headers:"
  printf '%s\n' "${hits}"
  exit 1
fi
if [[ ${status} -ne 1 ]]; then
  echo "engine_has_no_qt: grep failed (status ${status})" >&2
  exit 1
fi
echo "engine_has_no_qt: no Qt header in ${dirs[*]}"
