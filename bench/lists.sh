#!/usr/bin/env bash
# Times vorn-cli with long words-to-ignore and count-only lists (best of three
# runs each) and checks that every run succeeded and that its listing is
# plausible:
#   1. a plain count of the Bible text x10 (the floor);
#   2. the same with a words-to-ignore file of 10,000 distinct words (the
#      5,000 most frequent words of the text and 5,000 made-up ones), without
#      pattern matching; its overhead over (1) should stay under 10 per cent;
#   3. the same with pattern matching in the words-to-ignore file (for
#      information);
#   4. one copy of the text counting only 1,000 expressions given in a
#      count-only file (pattern matching on), 1,000 wildcards given as
#      count-only box text, and both together; each should take seconds.
# Builds nothing: expects build/release/src/cli/vorn-cli (make build).
# Inputs and outputs go to build/bench/.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cli="build/release/src/cli/vorn-cli"
bench_start "${cli}"

kjv10="${work}/kjv10.txt"
kjv1="${work}/kjv1.txt"
bash bench/make_input.sh "${kjv10}"
make_kjv1 "${kjv10}" "${kjv1}"  # one copy of the text

err="${work}/lists.err"
ignore_target=10  # per cent
seconds_target=5  # "finishes in seconds"

fail() {
  echo "bench: $*" >&2
  exit 1
}

# Runs vorn-cli once with -q, writing its listing to OUT (removed first), and
# prints the elapsed nanoseconds; fails (showing vorn-cli's messages) when
# vorn-cli fails or writes no listing.
time_once() {
  local out="$1" start end
  shift
  rm -f "${out}"
  start=$(date +%s%N)
  if ! "${cli}" -q "$@" -o "${out}" >/dev/null 2>"${err}"; then
    echo "bench: failed: ${cli} -q $* -o ${out}" >&2
    cat "${err}" >&2
    return 1
  fi
  end=$(date +%s%N)
  if [[ ! -s "${out}" ]]; then
    echo "bench: no listing written: ${cli} -q $* -o ${out}" >&2
    cat "${err}" >&2
    return 1
  fi
  echo $((end - start))
}

# The words of a listing file (the third field of each row; the first two
# lines are the file name and the column heads), one a line.
listed_words() { awk 'NR > 2 && NF >= 3 { sub(/\r$/, "", $3); print $3 }' "$1"; }

# Fails unless vorn-cli's messages of the last run hold no complaint about an
# entry.
check_no_complaint() {
  if grep -qi 'inadmissible\|invalid\|ignored\|too much work' "${err}"; then
    echo "bench: vorn-cli complained about an entry ($1):" >&2
    cat "${err}" >&2
    exit 1
  fi
}

# --- 1. plain count of the Bible text x10 -----------------------------------

plain_out="${work}/lists_plain.txt"
plain_ns=$(best_of_3 "${plain_out}" "${kjv10}")
plain_count=$(listed_words "${plain_out}" | wc -l)
[[ ${plain_count} -gt 10000 ]] || fail "plain count lists only ${plain_count} words"

# --- 2. and 3. a words-to-ignore file of 10,000 words -----------------------

# The 5,000 most frequent words of the plain listing, each followed by a
# made-up word ("zq" and three letters, which the text does not hold), ten
# to a line.
ignore="${work}/ignore10k.txt"
listed_words "${plain_out}" > "${work}/lists_plain.words"
head -n 5000 "${work}/lists_plain.words" | awk '
  function made_up(i) {
    return "zq" sprintf("%c%c%c", 97 + int(i / 676) % 26, 97 + int(i / 26) % 26, 97 + i % 26)
  }
  { printf "%s %s%s", $0, made_up(NR - 1), (NR % 5 == 0 ? "\n" : " ") }
  END { if (NR % 5 != 0) printf "\n" }' > "${ignore}"
ignore_words=$(tr ' ' '\n' < "${ignore}" | grep -c .)
ignore_distinct=$(tr ' ' '\n' < "${ignore}" | grep . | sort -u | wc -l)
[[ ${ignore_words} -eq 10000 && ${ignore_distinct} -eq 10000 ]] \
  || fail "${ignore} holds ${ignore_words} words, ${ignore_distinct} distinct (not 10,000)"
if grep -q '^zq' "${work}/lists_plain.words"; then
  fail "the text holds a word beginning with \"zq\"; the made-up words are not made up"
fi

# Checks a listing made with the words-to-ignore file: none of its words is
# in the file, and it lists exactly the plain listing's words less the 5,000
# ignored ones that occur (a few named for a quick look, then all).
check_ignored() {
  local out="$1" name="$2" words="${work}/lists_check.words" count w
  listed_words "${out}" > "${words}"
  for w in the and lord god shall unto; do
    if grep -qx "${w}" "${words}"; then
      fail "${name}: the ignored word \"${w}\" is listed"
    fi
  done
  if awk 'NR == FNR { for (i = 1; i <= NF; i++) ignored[$i] = 1; next }
          ($0 in ignored) { print; found = 1; exit } END { exit !found }' \
    "${ignore}" "${words}" > "${work}/lists_found.txt"; then
    fail "${name}: the ignored word \"$(cat "${work}/lists_found.txt")\" is listed"
  fi
  count=$(wc -l < "${words}")
  [[ ${count} -eq $((plain_count - 5000)) ]] \
    || fail "${name}: ${count} words listed, not $((plain_count - 5000))"
}

ignore_out="${work}/lists_ignore.txt"
ignore_ns=$(best_of_3 "${ignore_out}" --ignore-file "${ignore}" "${kjv10}")
check_no_complaint "words-to-ignore file"
check_ignored "${ignore_out}" "words-to-ignore file"

pattern_out="${work}/lists_ignore_patterns.txt"
pattern_ns=$(best_of_3 "${pattern_out}" --ignore-file "${ignore}" \
  --set PatternMatchingInWordsToIgnoreFile=1 "${kjv10}")
check_no_complaint "words-to-ignore file, pattern matching"
check_ignored "${pattern_out}" "words-to-ignore file, pattern matching"
cmp -s "${ignore_out}" "${pattern_out}" \
  || fail "the listings with and without pattern matching differ"

# --- 4. 1,000 expressions and 1,000 wildcards as count-only entries ---------

# 250 pairs of letters (x, y), each giving four entries of a kind: as
# expressions <xy[aeiou]+>, <x[a-z]+yeth>, <xye?s>, <(xy|yx)\w*d>; as
# wildcards x?y, x~y, xy~, ~xy. Beside each, the same entry as a Perl
# regular expression (for checking the listings): an expression matches
# anywhere in a word, a wildcard the whole word.
awk -v exprs="${work}/count_only_1k.txt" -v exprs_re="${work}/count_only_1k.re" \
  -v wilds="${work}/count_only_box_1k.txt" -v wilds_re="${work}/count_only_box_1k.re" '
  function both(e) { print "<" e ">" > exprs; print e > exprs_re }
  BEGIN {
    for (p = 0; p < 250; p++) {
      x = sprintf("%c", 97 + int(p / 26)); y = sprintf("%c", 97 + p % 26)
      both(x y "[aeiou]+"); both(x "[a-z]+" y "eth"); both(x y "e?s")
      both("(" x y "|" y x ")\\w*d")
      box = box (p > 0 ? ", " : "") x "?" y ", " x "~" y ", " x y "~, ~" x y
      print "^" x "." y "$" > wilds_re;   print "^" x ".*" y "$" > wilds_re
      print "^" x y ".*$" > wilds_re;     print "^.*" x y "$" > wilds_re
    }
    printf "%s", box > wilds
  }'
exprs="${work}/count_only_1k.txt"
wilds="${work}/count_only_box_1k.txt"
[[ $(grep -c . "${exprs}") -eq 1000 && $(sort -u "${exprs}" | wc -l) -eq 1000 ]] \
  || fail "${exprs} does not hold 1,000 distinct entries"
[[ $(tr ',' '\n' < "${wilds}" | tr -d ' ' | sort -u | wc -l) -eq 1000 ]] \
  || fail "${wilds} does not hold 1,000 distinct entries"
box_text="$(cat "${wilds}")"

# Prints the words of WORDS (one a line) that match (MODE "match") or miss
# (MODE "miss") all of the Perl expressions of the files RE..., case aside.
filter_words() {
  perl -e '
    my ($mode, $words, @files) = @ARGV;
    my @res;
    for my $f (@files) {
      open(my $in, "<", $f) or die "$f: $!";
      while (<$in>) { chomp; push @res, "(?:$_)" if length }
    }
    my $re = join("|", @res);
    $re = qr/$re/i;
    open(my $in, "<", $words) or die "$words: $!";
    while (<$in>) {
      chomp;
      print "$_\n" if (/$re/ ? 1 : 0) == ($mode eq "match" ? 1 : 0);
    }' "$@"
}

# Checks a count-only listing: every word listed matches one of the entries
# (the expressions of the files given), and the listing holds as many words
# as the plain listing of one copy filtered by them.
check_count_only() {
  local out="$1" name="$2" words="${work}/lists_check.words" count expected
  shift 2
  listed_words "${out}" > "${words}"
  count=$(wc -l < "${words}")
  [[ ${count} -gt 0 ]] || fail "${name}: no words listed"
  filter_words miss "${words}" "$@" > "${work}/lists_found.txt"
  if [[ -s "${work}/lists_found.txt" ]]; then
    fail "${name}: \"$(head -n 1 "${work}/lists_found.txt")\" is listed but matches no entry"
  fi
  listed_words "${plain1_out}" > "${work}/lists_plain1.words"
  expected=$(filter_words match "${work}/lists_plain1.words" "$@" | wc -l)
  [[ ${count} -eq ${expected} ]] || fail "${name}: ${count} words listed, not ${expected}"
}

plain1_out="${work}/lists_plain1.txt"
plain1_ns=$(best_of_3 "${plain1_out}" "${kjv1}")

exprs_out="${work}/lists_count_only_file.txt"
exprs_ns=$(best_of_3 "${exprs_out}" --answer no --set PatternMatchingInCountOnlyWordsFile=1 \
  --count-only-file "${exprs}" "${kjv1}")
check_no_complaint "count-only file of expressions"
check_count_only "${exprs_out}" "count-only file of expressions" "${work}/count_only_1k.re"

wilds_out="${work}/lists_count_only_box.txt"
wilds_ns=$(best_of_3 "${wilds_out}" --answer no --count-only "${box_text}" "${kjv1}")
check_no_complaint "count-only box of wildcards"
check_count_only "${wilds_out}" "count-only box of wildcards" "${work}/count_only_box_1k.re"

both_out="${work}/lists_count_only_both.txt"
both_ns=$(best_of_3 "${both_out}" --answer no --set PatternMatchingInCountOnlyWordsFile=1 \
  --count-only-file "${exprs}" --count-only "${box_text}" "${kjv1}")
check_no_complaint "count-only file and box"
check_count_only "${both_out}" "count-only file and box" \
  "${work}/count_only_1k.re" "${work}/count_only_box_1k.re"

# --- the figures ------------------------------------------------------------

over() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%+.1f", (b > 0 ? (a - b) * 100 / b : 0) }'; }

echo "lists (best of 3):"
printf '%-58s %7s s\n' "KJV x10, plain count:" "$(seconds "${plain_ns}")"
printf '%-58s %7s s  %s%% over plain\n' "KJV x10, ignore file of 10,000 words:" \
  "$(seconds "${ignore_ns}")" "$(over "${ignore_ns}" "${plain_ns}")"
printf '%-58s %7s s  %s%% over plain\n' "KJV x10, ignore file of 10,000 words, pattern matching:" \
  "$(seconds "${pattern_ns}")" "$(over "${pattern_ns}" "${plain_ns}")"
printf '%-58s %7s s\n' "KJV x1, plain count:" "$(seconds "${plain1_ns}")"
printf '%-58s %7s s  (%d words listed)\n' "KJV x1, count-only file of 1,000 expressions:" \
  "$(seconds "${exprs_ns}")" "$(listed_words "${exprs_out}" | wc -l)"
printf '%-58s %7s s  (%d words listed)\n' "KJV x1, count-only box of 1,000 wildcards:" \
  "$(seconds "${wilds_ns}")" "$(listed_words "${wilds_out}" | wc -l)"
printf '%-58s %7s s  (%d words listed)\n' "KJV x1, count-only file and box (2,000 entries):" \
  "$(seconds "${both_ns}")" "$(listed_words "${both_out}" | wc -l)"

awk -v a="${ignore_ns}" -v b="${plain_ns}" -v t="${ignore_target}" 'BEGIN {
  o = (b > 0 ? (a - b) * 100 / b : 0)
  printf "target ignore file of 10,000 words under %d%% over plain: %+.1f%%, %s\n", t, o,
    (o < t ? "met" : "MISSED")
}'
slowest=${exprs_ns}
for t in "${wilds_ns}" "${both_ns}"; do
  if [[ ${t} -gt ${slowest} ]]; then slowest=${t}; fi
done
awk -v s="${slowest}" -v t="${seconds_target}" 'BEGIN {
  printf "target count-only lists of 1,000 entries within %d s: slowest %.3f s, %s\n", t, s / 1e9,
    (s / 1e9 < t ? "met" : "MISSED")
}'
