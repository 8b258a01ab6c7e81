#!/usr/bin/env bash
# Writes OUT: 1,000,000 distinct words, ten a line. Does nothing when OUT
# already exists.
#
# Usage: make_distinct.sh OUT
# Each word is four consonant-vowel syllables (80 of them), so that no word
# is dropped as too short, vowel-less, of repeated letters or a Roman
# numeral.
set -euo pipefail

if [[ $# -ne 1 || -z "$1" ]]; then
  echo "usage: make_distinct.sh OUT" >&2
  exit 2
fi
out="$1"
if [[ -e "${out}" ]]; then
  exit 0
fi
mkdir -p "$(dirname "${out}")"
tmp="${out}.tmp.$$"
trap 'rm -f "${tmp}"' EXIT
awk 'BEGIN {
  nc = split("b c d f g h j k l m n p q r s t v w x z", c, " ")
  nv = split("a e o u", v, " ")
  for (i = 1; i <= nc; i++) for (j = 1; j <= nv; j++) syl[n++] = c[i] v[j]
  for (i = 0; i < 1000000; i++) {
    k = i; w = ""
    for (s = 0; s < 4; s++) { w = syl[k % n] w; k = int(k / n) }
    printf "%s%s", w, (i % 10 == 9 ? "\n" : " ")
  }
}' > "${tmp}"
mv "${tmp}" "${out}"
trap - EXIT
