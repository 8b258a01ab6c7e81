#!/usr/bin/env bash
# Writes the benchmark input OUT: the King James Bible text repeated 10 times
# (about 43 MB). Does nothing when OUT already exists.
#
# Usage: make_input.sh OUT
# The source text is VORN_CORPUS when set, else the shared corpus copy when
# present, else the bundled data/sample.txt repeated to the same size.
set -euo pipefail

if [[ $# -ne 1 || -z "$1" ]]; then
  echo "usage: make_input.sh OUT" >&2
  exit 2
fi
out="$1"
if [[ -e "${out}" ]]; then
  exit 0
fi

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
corpus="${VORN_CORPUS:-/work/shared/corpus/kjvbible.txt}"
repeats=10
if [[ ! -r "${corpus}" ]]; then
  corpus="${root}/data/sample.txt"
  # As many copies of the sample as make the size of ten Bibles.
  size="$(stat -c %s "${corpus}")"
  repeats=$(((42982390 + size - 1) / size))
fi

mkdir -p "$(dirname "${out}")"
tmp="${out}.tmp.$$"
trap 'rm -f "${tmp}"' EXIT
for ((i = 0; i < repeats; i++)); do
  cat "${corpus}"
done > "${tmp}"
mv "${tmp}" "${out}"
trap - EXIT
