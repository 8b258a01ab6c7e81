#!/usr/bin/env bash
# Splits the Bible text into one file per chapter in a folder per book:
# TREE/<NN_Book>/<book>_<CCC>.txt (1,189 files in 66 folders below TREE).
# A chapter begins at a heading line such as "Genesis 1" or "1 Samuel 3"
# that follows an empty line; the verses are indented. The heading stays in
# the chapter's file, so the chapters together hold the whole text. Does
# nothing when TREE holds as many files as the text has chapters; a tree
# left incomplete is made again.
#
# Usage: make_tree.sh CORPUS TREE
set -euo pipefail

if [[ $# -ne 2 ]]; then
  echo "usage: make_tree.sh CORPUS TREE" >&2
  exit 2
fi
corpus="$1"
tree="$2"
fail() { echo "bench: $*" >&2; exit 1; }
[[ -r "${corpus}" ]] || fail "${corpus} not found; ${tree} is made from it"

count_files() { find "$1" -type f | wc -l; }
heading='^[^ ].* [0-9]+$'
chapters=$(awk -v re="${heading}" \
  '$0 ~ re && prev == "" { n++ } { prev = $0 } END { print n + 0 }' "${corpus}")
[[ ${chapters} -gt 0 ]] || fail "no chapter headings found in ${corpus}"
if [[ -d "${tree}" && $(count_files "${tree}") -eq ${chapters} ]]; then
  exit 0
fi
rm -rf "${tree}" "${tree}.tmp"
mkdir -p "${tree}.tmp"
awk -v re="${heading}" -v dir="${tree}.tmp" '
  $0 ~ re && prev == "" {
    book = $0; sub(/ [0-9]+$/, "", book); gsub(/ /, "_", book)
    if (book != current) {
      current = book
      folder = sprintf("%s/%02d_%s", dir, ++books, book)
      system("mkdir -p \"" folder "\"")
    }
    if (out != "") close(out)
    out = sprintf("%s/%s_%03d.txt", folder, tolower(book), $NF)
  }
  out != "" { print > out }
  { prev = $0 }' "${corpus}"
[[ $(count_files "${tree}.tmp") -eq ${chapters} ]] \
  || fail "the split made $(count_files "${tree}.tmp") files, not ${chapters}"
mv "${tree}.tmp" "${tree}"
echo "made ${tree}: ${chapters} files in $(find "${tree}" -type d | wc -l) folders"
