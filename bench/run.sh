#!/usr/bin/env bash
# Times vorn-cli against `wc -w` on about 43 MB of text, measures its peak
# memory, and times hostile shapes of input with their peak memory: one
# 100 MB line, one 40 MB word, 1,000,000 distinct words, and text full of
# bracketed expressions. Ends with the engine's longest pauses between two
# chances for the window to handle events (bench/pauses.sh), then with long
# words-to-ignore and count-only lists (bench/lists.sh). Builds nothing:
# expects build/release/src/cli/vorn-cli and build/release/bench/pause_bench
# (make bench builds them first). Inputs and outputs go to build/bench/.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cli="build/release/src/cli/vorn-cli"
bench_start "${cli}"

input="${work}/kjv10.txt"
out="${work}/out.txt"
err="${work}/vorn-cli.err"
bash bench/make_input.sh "${input}"

bytes=$(stat -c %s "${input}")
echo "input: ${input} ($(awk -v b="${bytes}" 'BEGIN { printf "%.1f", b / 1e6 }') MB)"

wc_ns=$(best_of_3 wc -w "${input}")
vorn_ns=$(best_of_3 "${cli}" -q "${input}" -o "${out}")

peak="n/a"
if [[ -x /usr/bin/time ]]; then
  rss_file="${work}/rss.txt"
  if ! /usr/bin/time -f %M -o "${rss_file}" "${cli}" -q "${input}" -o "${out}" >/dev/null 2>"${err}"; then
    echo "bench: failed: ${cli} -q ${input} -o ${out}" >&2
    cat "${err}" >&2
    exit 1
  fi
  peak="$(awk 'NF { kb = $1 } END { printf "%.1f", kb * 1024 / 1e6 }' "${rss_file}")"
fi

echo "wc -w      best of 3: $(seconds "${wc_ns}") s"
echo "vorn-cli   best of 3: $(seconds "${vorn_ns}") s"
awk -v v="${vorn_ns}" -v w="${wc_ns}" -v b="${bytes}" 'BEGIN {
  printf "ratio vorn-cli / wc -w: %.2f\n", (w > 0 ? v / w : 0)
  printf "throughput: %.1f MB/s\n", (v > 0 ? (b / 1e6) / (v / 1e9) : 0)
}'
echo "peak memory: ${peak} MB"

# Times one run of vorn-cli on FILE and prints a line: NAME, seconds, peak
# memory in MB, and peak memory per input byte.
measure() {
  local name="$1" file="$2" rss_file="${work}/rss.txt" start end
  start=$(date +%s%N)
  if ! /usr/bin/time -f %M -o "${rss_file}" "${cli}" -q "${file}" -o "${work}/out_stress.txt" \
    >/dev/null 2>"${err}"; then
    echo "bench: failed: ${cli} -q ${file}" >&2
    cat "${err}" >&2
    exit 1
  fi
  end=$(date +%s%N)
  awk -v name="${name}" -v ns=$((end - start)) -v kb="$(awk 'NF { k = $1 } END { print k }' "${rss_file}")" \
    -v bytes="$(stat -c %s "${file}")" 'BEGIN {
    printf "%-26s %7.3f s  peak %7.1f MB  (%.2f x input)\n", name ":", ns / 1e9, kb * 1024 / 1e6,
      kb * 1024 / bytes
  }'
}

# Stress inputs, each made once: one line of 100 MB (the corpus words joined
# by spaces), one word of 40 MB (with hyphens, which are word characters),
# 1,000,000 distinct words, and text full of bracketed expressions.
long_line="${work}/one_line_100mb.txt"
if [[ ! -e "${long_line}" ]]; then
  chunk="${work}/one_line_chunk.txt"
  tr -s '\r\n' '  ' < "${input}" > "${chunk}"
  chunk_size=$(stat -c %s "${chunk}")
  target=$((100 * 1000 * 1000))
  if [[ ${chunk_size} -le 0 ]]; then
    echo "bench: empty input" >&2
    exit 1
  fi
  for ((i = 0; i * chunk_size < target; i++)); do
    cat "${chunk}"
  done > "${long_line}.tmp"
  truncate -s "${target}" "${long_line}.tmp"
  mv "${long_line}.tmp" "${long_line}"
  rm -f "${chunk}"
fi

huge_word="${work}/one_word_40mb.txt"
if [[ ! -e "${huge_word}" ]]; then
  head -c $((40 * 1000 * 1000)) /dev/zero | tr '\0' 'a' | sed 's/aa/a-/g' > "${huge_word}.tmp"
  mv "${huge_word}.tmp" "${huge_word}"
fi

distinct="${work}/distinct_1m.txt"
bash bench/make_distinct.sh "${distinct}"

# 10 MB of words holding "<...>": valid and invalid expressions, plain tags,
# a few hundred distinct ones repeated, and runs of openings in which every
# "<" sees a distinct text up to the next ">".
brackets="${work}/brackets_10mb.txt"
if [[ ! -e "${brackets}" ]]; then
  awk 'BEGIN {
    srand(7)
    while (size < 10000000) {
      k = int(rand() * 300)
      if (k % 3 == 0) line = sprintf("wo<rd(%d>x ab<[0-9]+>c foo<b>bar ", k)
      else if (k % 3 == 1) line = sprintf("x<y%d.z>w q<(%d ", k, k)
      else {  # every "<" of the run sees a distinct text up to the ">"
        line = ""
        for (j = 0; j < 200; j++) line = line sprintf("%c%c<(", 97 + int(rand() * 8), 105 + int(rand() * 8))
        line = line "> "
      }
      printf "%s", line; size += length(line)
      if (++n % 8 == 0) { printf "\n"; size++ }
    }
  }' > "${brackets}.tmp"
  mv "${brackets}.tmp" "${brackets}"
fi

measure "one 100 MB line" "${long_line}"
measure "one 40 MB word" "${huge_word}"
measure "1,000,000 distinct words" "${distinct}"
awk -v f="${work}/rss.txt" 'BEGIN { getline kb < f; printf "%-26s %.0f bytes per distinct word\n", "", kb * 1024 / 1e6 }'
measure "text full of <...> (10 MB)" "${brackets}"

# The longest pauses of the engine (the time between two chances for the
# window to handle its events).
bash bench/pauses.sh

# Counts with long words-to-ignore and count-only lists.
bash bench/lists.sh

# The window while it counts.
bash bench/window.sh

# Folder runs: a file per chapter of the text, and 10,000 small files.
bash bench/folders.sh

# Phrases, the count array of a folder and a large Word document.
bash bench/corpus_tools.sh

# One table of the speed targets: counts against wc -w, folder runs with
# one and two threads, peak memory.
bash bench/speed.sh
