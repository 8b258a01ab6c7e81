#!/usr/bin/env bash
# Times vorn-cli against `wc -w` on about 43 MB of text, measures its peak
# memory, and times two stress inputs: one 100 MB line, and 1,000,000
# distinct words. Builds nothing: expects build/release/src/cli/vorn-cli
# (make bench builds it first). Inputs and outputs go to build/bench/.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "${root}"

cli="build/release/src/cli/vorn-cli"
work="build/bench"
if [[ ! -x "${cli}" ]]; then
  echo "bench: ${cli} not found; run 'make build' first" >&2
  exit 1
fi
mkdir -p "${work}"

input="${work}/kjv10.txt"
out="${work}/out.txt"
err="${work}/vorn-cli.err"
bash bench/make_input.sh "${input}"

# Runs the command once with its output discarded and prints the elapsed
# nanoseconds; fails (showing vorn-cli's messages) when the command fails.
time_once() {
  local start end
  start=$(date +%s%N)
  if ! "$@" >/dev/null 2>"${err}"; then
    echo "bench: failed: $*" >&2
    cat "${err}" >&2
    return 1
  fi
  end=$(date +%s%N)
  echo $((end - start))
}

# The shortest of three runs, in nanoseconds.
best_of_3() {
  local best="" t i
  for i in 1 2 3; do
    t=$(time_once "$@") || return 1
    if [[ -z "${best}" || ${t} -lt ${best} ]]; then
      best=${t}
    fi
  done
  echo "${best}"
}

seconds() { awk -v ns="$1" 'BEGIN { printf "%.3f", ns / 1e9 }'; }

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

# Stress 1: one line of 100 MB, the corpus words joined by spaces.
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
long_ns=$(time_once "${cli}" -q "${long_line}" -o "${work}/out_one_line.txt")
echo "one 100 MB line:        $(seconds "${long_ns}") s"

# Stress 2: 1,000,000 distinct words, ten a line. Each word is four
# consonant-vowel syllables (80 of them), so no word is dropped as too short,
# vowel-less, of repeated letters or a Roman numeral.
distinct="${work}/distinct_1m.txt"
if [[ ! -e "${distinct}" ]]; then
  awk 'BEGIN {
    nc = split("b c d f g h j k l m n p q r s t v w x z", c, " ")
    nv = split("a e o u", v, " ")
    for (i = 1; i <= nc; i++) for (j = 1; j <= nv; j++) syl[n++] = c[i] v[j]
    for (i = 0; i < 1000000; i++) {
      k = i; w = ""
      for (s = 0; s < 4; s++) { w = syl[k % n] w; k = int(k / n) }
      printf "%s%s", w, (i % 10 == 9 ? "\n" : " ")
    }
  }' > "${distinct}.tmp"
  mv "${distinct}.tmp" "${distinct}"
fi
distinct_ns=$(time_once "${cli}" -q "${distinct}" -o "${work}/out_distinct.txt")
echo "1,000,000 distinct words: $(seconds "${distinct_ns}") s"
