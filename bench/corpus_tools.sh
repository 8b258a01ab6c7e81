#!/usr/bin/env bash
# Times the tools that go beyond a plain word count (best of three runs each)
# and checks that every run succeeded and that its output is plausible:
#   1. all phrases of 2 to 5 words occurring at least twice, in one copy of
#      the Bible text and in ten, against `wc -w` on the same file; prints the
#      peak memory, the number of distinct phrases counted (those occurring
#      once included: a run listing every phrase tells how many) and the
#      bytes of peak memory per distinct phrase;
#   2. the count array (words against files, both layouts) of the text split
#      into one file per chapter (build/bench/kjv_tree, as bench/folders.sh
#      makes it), against a plain folder count of the same tree;
#   3. a Word document whose word/document.xml is about 15 MB (above the size
#      at which vorn-cli asks whether to go on, which it answers yes), against
#      the same text as a plain text file.
# Builds nothing: expects build/release/src/cli/vorn-cli (make build), and
# needs /usr/bin/time and python3 (bench/make_docx.py). Inputs and outputs
# go to build/bench/.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cli="build/release/src/cli/vorn-cli"
bench_start "${cli}"

corpus="${VORN_CORPUS:-/work/shared/corpus/kjvbible.txt}"
kjv10="${work}/kjv10.txt"
kjv1="${work}/kjv1.txt"
bash bench/make_input.sh "${kjv10}"
make_kjv1 "${kjv10}" "${kjv1}"  # one copy of the text

err="${work}/corpus_tools.err"
rss="${work}/corpus_tools.rss"

fail() { echo "bench: $*" >&2; exit 1; }

[[ -x /usr/bin/time ]] || fail "/usr/bin/time not found (Debian package time)"
command -v python3 >/dev/null || fail "python3 not found; it makes the Word document"

# Runs ARGS once under /usr/bin/time, its output discarded and its messages
# in ${err}, and prints its peak memory in kB; fails (showing the messages)
# when the run fails.
peak_kb() {
  if ! /usr/bin/time -f %M -o "${rss}" "$@" >/dev/null 2>"${err}"; then
    echo "bench: failed: $*" >&2
    cat "${err}" >&2
    return 1
  fi
  awk 'NF { kb = $1 } END { print kb }' "${rss}"
}

mb() { awk -v kb="$1" 'BEGIN { printf "%.1f", kb * 1024 / 1e6 }'; }
size_mb() { awk -v b="$(stat -c %s "$1")" 'BEGIN { printf "%.1f", b / 1e6 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", (b > 0 ? a / b : 0) }'; }
grouped() { echo "$1" | sed -E ':a; s/([0-9])([0-9]{3})($|,)/\1,\2\3/; ta'; }

# --- 1. phrases of 2 to 5 words ---------------------------------------------

# The number of phrases that the summary of the phrase listing OUT gives
# ("There are N phrases with 2 to 5 words which occur at least ..."), after
# checking that it is the number of rows listed.
phrases_listed() {
  local n rows
  n=$(sed -n '2{s/\r$//; s/^There are \([0-9,]*\) phrases with 2 to 5 words which occur.*/\1/p}' "$1")
  n=${n//,/}
  [[ -n "${n}" ]] || fail "$1: no summary line; it begins: $(head -n 2 "$1")"
  rows=$(tail -n +6 "$1" | wc -l)  # five lines of heading
  [[ ${rows} -eq ${n} ]] || fail "$1: the summary says ${n} phrases, ${rows} are listed"
  echo "${n}"
}

bench_phrases() {
  local name="$1" file="$2" out="${work}/phrases_out.txt" all="${work}/phrases_all.txt"
  local wc_ns ph_ns kb all_kb listed distinct twice_in_all
  rm -f "${out}" "${all}"
  wc_ns=$(best_of_3 wc -w "${file}")
  ph_ns=$(best_of_3 "${cli}" -q --phrases 2-5 "${file}" -o "${out}")
  kb=$(peak_kb "${cli}" -q --phrases 2-5 "${file}" -o "${out}")
  all_kb=$(peak_kb "${cli}" -q --phrases 2-5:1 "${file}" -o "${all}")
  listed=$(phrases_listed "${out}")
  distinct=$(phrases_listed "${all}")
  # Every phrase listed has 2 to 5 words; those of the full listing that
  # occur at least twice are the phrases listed with the filter.
  awk -F'\t' 'FNR > 5 { n = split($3, w, " "); if (n < 2 || n > 5) { print; exit 1 } }' \
    "${out}" "${all}" > "${work}/phrases_bad.txt" \
    || fail "${name}: a phrase listed has not 2 to 5 words: $(cat "${work}/phrases_bad.txt")"
  twice_in_all=$(awk -F'\t' 'NR > 5 && $2 + 0 >= 2' "${all}" | wc -l)
  [[ ${twice_in_all} -eq ${listed} ]] || fail "${name}: ${listed} phrases occur at least" \
    "twice, but ${twice_in_all} of those listed with their counts at 1 or more do"
  [[ ${listed} -gt 1000 && ${distinct} -ge ${listed} ]] \
    || fail "${name}: ${listed} phrases at least twice, ${distinct} in all: not plausible"
  phrases_distinct=${distinct}
  echo "${name} ($(size_mb "${file}") MB):"
  awk -v w="${wc_ns}" -v p="${ph_ns}" -v kb="${kb}" -v a="${all_kb}" -v l="$(grouped "${listed}")" \
    -v n="${distinct}" -v g="$(grouped "${distinct}")" 'BEGIN {
    f = "  %-44s %10s%s\n"
    printf f, "wc -w:", sprintf("%.3f", w / 1e9), " s"
    printf f, "vorn-cli --phrases 2-5:", sprintf("%.3f", p / 1e9), \
      sprintf(" s   (%.1f x wc -w)", (w > 0 ? p / w : 0))
    printf f, "peak memory:", sprintf("%.1f", kb * 1024 / 1e6), " MB"
    printf f, "phrases listed (occurring at least twice):", l, ""
    printf f, "distinct phrases counted:", g, ""
    printf f, "peak memory per distinct phrase:", sprintf("%.1f", kb * 1024 / n), " bytes"
    printf f, "peak memory listing every phrase (2-5:1):", sprintf("%.1f", a * 1024 / 1e6), " MB"
  }'
}

echo "phrases of 2 to 5 words occurring at least twice (best of 3):"
bench_phrases "KJV x1" "${kjv1}"
distinct1=${phrases_distinct}
bench_phrases "KJV x10" "${kjv10}"
# The one copy begins the ten: the ten hold every phrase of the one, and
# only those that span the joins besides.
[[ ${phrases_distinct} -ge ${distinct1} ]] \
  || fail "KJV x10 counts fewer distinct phrases (${phrases_distinct}) than KJV x1 (${distinct1})"
echo "  distinct phrases in x10 not in x1: $((phrases_distinct - distinct1))"

# --- 2. count array of a folder ---------------------------------------------

# The chapter-per-file tree of bench/folders.sh (made once).
tree="${work}/kjv_tree"
bash bench/make_tree.sh "${corpus}" "${tree}"
files=$(find "${tree}" -type f | wc -l)
[[ ${files} -gt 0 ]] || fail "${tree} holds no files"

plain_out="${work}/array_plain.txt"
array_out="${work}/array_both.txt"
rm -f "${plain_out}" "${array_out}"
plain_ns=$(best_of_3 "${cli}" -q -r "${tree}" -o "${plain_out}")
plain_kb=$(peak_kb "${cli}" -q -r "${tree}" -o "${plain_out}")
array_ns=$(best_of_3 "${cli}" -q -r --count-array both "${tree}" -o "${array_out}")
array_kb=$(peak_kb "${cli}" -q -r --count-array both "${tree}" -o "${array_out}")

# Both tables (alphabetical, then by frequency) have a column per file and a
# row per word of the plain count (the word, a count per file, an empty
# column and the total), their totals add up to its words, and the frequency
# table begins with its most frequent word.
words=$(sed -n 's/^Number of words in this list: *\([0-9]*\).*/\1/p' "${plain_out}")
instances=$(sed -n 's/^Number of instances of words in this list: *\([0-9]*\).*/\1/p' "${plain_out}")
first_word=$(awk -F'\t' 'NR == 7 { sub(/\r$/, "", $3); print $3 }' "${plain_out}")
[[ -n "${words}" && -n "${instances}" ]] || fail "${plain_out}: no word counts in its heading"
found=$(awk -F'\t' -v files="${files}" '
  { sub(/\r$/, "") }
  /^<File indices>/ { t++; if ($(files + 1) != files || $NF != "Total") t += 10; next }
  t && NF == files + 3 && $1 != "Total" {
    rows[t]++; total[t] += $NF; if (t == 2 && first == "") first = $1
  }
  END { print (t == 2 ? rows[1] " " total[1] " " rows[2] " " total[2] " " first : "no two tables") }
  ' "${array_out}")
[[ "${found}" == "${words} ${instances} ${words} ${instances} ${first_word}" ]] \
  || fail "${array_out}: two tables of ${words} words (${instances} in all) expected; found ${found}"

echo "count array of $(grouped "${files}") files, one per chapter (best of 3):"
printf '  %-44s %10s s   peak %5s MB   output %5s MB\n' \
  "vorn-cli -r (plain folder count):" "$(seconds "${plain_ns}")" "$(mb "${plain_kb}")" \
  "$(size_mb "${plain_out}")" \
  "vorn-cli -r --count-array both:" "$(seconds "${array_ns}")" "$(mb "${array_kb}")" \
  "$(size_mb "${array_out}")"
printf '  %-44s %10s\n' "ratio count array / plain count:" "$(ratio "${array_ns}" "${plain_ns}")"

# --- 3. a large Word document -----------------------------------------------

# About 15 MB of XML: the corpus lines as paragraphs (bench/make_docx.py),
# and the same lines as a text file.
docx="${work}/big.docx"
docx_txt="${work}/big_docx_text.txt"
[[ -r "${corpus}" ]] || fail "${corpus} not found; ${docx} is made from it"
xml_bytes=$(python3 bench/make_docx.py "${corpus}" "${docx}.tmp" "${docx_txt}" 15000000)
mv "${docx}.tmp" "${docx}"
[[ ${xml_bytes} -gt $((10 * 1024 * 1024)) && ${xml_bytes} -le $((20 * 1024 * 1024)) ]] \
  || fail "${docx}: its XML holds ${xml_bytes} bytes, not between 10 and 20 MB"

docx_out="${work}/big_docx_out.txt"
txt_out="${work}/big_docx_text_out.txt"
rm -f "${docx_out}" "${txt_out}"
docx_ns=$(best_of_3 "${cli}" -q "${docx}" -o "${docx_out}")
grep -q "Big file" "${err}" || fail "${docx}: vorn-cli asked no big-file question"
docx_kb=$(peak_kb "${cli}" -q "${docx}" -o "${docx_out}")
txt_ns=$(best_of_3 "${cli}" -q "${docx_txt}" -o "${txt_out}")
txt_kb=$(peak_kb "${cli}" -q "${docx_txt}" -o "${txt_out}")
# The two listings differ only in the file named on their first line.
[[ $(wc -l < "${docx_out}") -gt 1000 ]] || fail "${docx_out}: too few words listed"
cmp -s <(tail -n +2 "${docx_out}") <(tail -n +2 "${txt_out}") \
  || fail "${docx} and ${docx_txt} give different listings"

echo "Word document of $(awk -v b="${xml_bytes}" 'BEGIN { printf "%.1f", b / 1e6 }') MB of XML" \
  "($(size_mb "${docx}") MB zipped; best of 3):"
printf '  %-44s %10s s   peak %5s MB\n' \
  "vorn-cli on the .docx:" "$(seconds "${docx_ns}")" "$(mb "${docx_kb}")" \
  "vorn-cli on its text as .txt ($(size_mb "${docx_txt}") MB):" "$(seconds "${txt_ns}")" \
  "$(mb "${txt_kb}")"
printf '  %-44s %10s\n' "ratio .docx / .txt:" "$(ratio "${docx_ns}" "${txt_ns}")"
