#!/usr/bin/env bash
# Prints one compact table of vorn-cli's speed, each time the best of three
# runs, timed in the same run as `wc -w` on the same input:
#   1. the default count of the Bible text x10 (about 43 MB) to an output
#      file: seconds, MB/s and the ratio to wc -w (target: at most 0.35);
#   2. the same for 1 GB of real UTF-8 text (bench/make_big.sh; target: under
#      3 s);
#   3. 1,000,000 distinct words counted and listed (target: under 1.2 s);
#   4. folder runs over the chapter-per-file tree and the 10,000 small files
#      with --threads 1 and --threads 2, and the speed-up (target: at least
#      1.7), each beside its floor: what opening, reading and closing the
#      same files costs the system alone on one thread and on two
#      (bench/read_floor.cpp), the most a folder run could gain on two
#      threads in the part of its time that the system takes;
#   5. peak memory (KB, /usr/bin/time -f %M) of the counts of 1 to 3, plain
#      and with --threads 1 and --threads 2.
# A vorn-cli whose --help does not list --threads gets "n/a (no --threads)"
# in those places; without the corpus the folder rows are "n/a (no corpus)".
# Builds nothing: expects build/release/src/cli/vorn-cli and
# build/release/bench/read_floor (make build; without read_floor the floors
# are "n/a"). Makes
# the inputs it lacks in build/bench/ and leaves the ones there alone.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cli="build/release/src/cli/vorn-cli"
read_floor="build/release/bench/read_floor"
bench_start "${cli}"

err="${work}/speed.err"
out="${work}/speed_out.txt"
corpus="${VORN_CORPUS:-/work/shared/corpus/kjvbible.txt}"

kjv10="${work}/kjv10.txt"
big="${work}/big_1gb.txt"
distinct="${work}/distinct_1m.txt"
bash bench/make_input.sh "${kjv10}"
bash bench/make_big.sh "${big}"
bash bench/make_distinct.sh "${distinct}"

tree="${work}/kjv_tree"
small="${work}/small10k"
have_corpus=no
if [[ -r "${corpus}" ]]; then
  have_corpus=yes
  bash bench/make_tree.sh "${corpus}" "${tree}"
  make_small_files "${corpus}" "${small}"
fi

have_threads=no
if "${cli}" --help 2>/dev/null | grep -q -- '--threads'; then
  have_threads=yes
fi
no_threads="n/a (no --threads)"

# --- 1. to 3. single files against wc -w -----------------------------------

echo "speed of vorn-cli (best of 3; wc -w in the same run, LC_ALL=${LC_ALL:-} LANG=${LANG:-}):"
printf '  %-26s %8s %8s %8s %8s %8s  %s\n' "input" "MB" "vorn s" "MB/s" "wc -w s" "vorn/wc" \
  "target"

# Times wc -w and a count of FILE; prints the row.
count_row() {
  local name="$1" file="$2" what="$3" op="$4" limit="$5" wc_ns vorn_ns
  wc_ns=$(best_of_3 wc -w "${file}")
  rm -f "${out}"
  vorn_ns=$(best_of_3 "${cli}" -q "${file}" -o "${out}")
  awk -v name="${name}" -v b="$(stat -L -c %s "${file}")" -v v="${vorn_ns}" -v w="${wc_ns}" \
    -v what="${what}" -v op="${op}" -v limit="${limit}" 'BEGIN {
    ratio = (w > 0 ? v / w : 0)
    value = (what == "ratio" ? ratio : v / 1e9)
    ok = (op == "<" ? value < limit : value <= limit)
    printf "  %-26s %8.1f %8.3f %8.1f %8.3f %8.2f  %s %s %s: %s\n", name, b / 1e6, v / 1e9,
      (v > 0 ? b / 1e6 / (v / 1e9) : 0), w / 1e9, ratio, (what == "ratio" ? "vorn/wc" : "s"),
      op, limit, (ok ? "met" : "missed")
  }'
}

count_row "KJV x10" "${kjv10}" ratio "<=" 0.35
count_row "1 GB of UTF-8 text" "${big}" seconds "<" 3
count_row "1,000,000 distinct words" "${distinct}" seconds "<" 1.2

# --- 4. folder runs ---------------------------------------------------------

echo "folder runs (best of 3):"
printf '  %-26s %8s %12s %12s %9s  %s\n' "folder" "plain s" "--threads 1" "--threads 2" \
  "speed-up" "target"

# Times a count of FOLDER with its subfolders, plain and with --threads 1
# and 2; prints the row.
folder_row() {
  local name="$1" folder="$2" plain_ns t1_ns t2_ns
  if [[ "${have_corpus}" != yes ]]; then
    printf '  %-26s %s\n' "${name}" "n/a (no corpus)"
    return
  fi
  rm -f "${out}"
  plain_ns=$(best_of_3 "${cli}" -q -r "${folder}" -o "${out}")
  if [[ "${have_threads}" != yes ]]; then
    printf '  %-26s %8s %12s\n' "${name}" "$(seconds "${plain_ns}")" "${no_threads}"
    return
  fi
  t1_ns=$(best_of_3 "${cli}" -q -r --threads 1 "${folder}" -o "${out}")
  t2_ns=$(best_of_3 "${cli}" -q -r --threads 2 "${folder}" -o "${out}")
  awk -v name="${name}" -v p="${plain_ns}" -v a="${t1_ns}" -v b="${t2_ns}" 'BEGIN {
    up = (b > 0 ? a / b : 0)
    printf "  %-26s %8.3f %12.3f %12.3f %9.2f  >= 1.7: %s\n", name, p / 1e9, a / 1e9, b / 1e9,
      up, (up >= 1.7 ? "met" : "missed")
  }'
  if [[ ! -x "${read_floor}" ]]; then
    printf '  %-26s %s\n' "  floor: its files' reads" "n/a (no ${read_floor})"
    return
  fi
  # "N files: one thread A ms, two threads B ms, speed-up C"
  "${read_floor}" "${folder}" 5 | awk '{
    printf "  %-26s %8s %12.3f %12.3f %9.2f\n", "  floor: its files'"'"' reads", "", $5 / 1e3,
      $9 / 1e3, $12
  }'
}

folder_row "A, one file per chapter" "${tree}"
folder_row "B, 10,000 small files" "${small}"

# --- 5. peak memory ---------------------------------------------------------

echo "peak memory (KB):"
printf '  %-26s %10s %12s %12s\n' "input" "plain" "--threads 1" "--threads 2"

# Prints the peak resident memory in KB of one count of FILE with the
# options given after it.
peak_kb() {
  local file="$1" rss="${work}/speed_rss.txt"
  shift
  if ! /usr/bin/time -f %M -o "${rss}" "${cli}" -q "$@" "${file}" -o "${out}" >/dev/null \
    2>"${err}"; then
    echo "bench: failed: ${cli} -q $* ${file} -o ${out}" >&2
    cat "${err}" >&2
    return 1
  fi
  awk 'NF { kb = $1 } END { print kb }' "${rss}"
}

peak_row() {
  local name="$1" file="$2" plain t1 t2
  if [[ ! -x /usr/bin/time ]]; then
    printf '  %-26s %s\n' "${name}" "n/a (no /usr/bin/time)"
    return
  fi
  plain=$(peak_kb "${file}")
  if [[ "${have_threads}" != yes ]]; then
    printf '  %-26s %10s %12s\n' "${name}" "${plain}" "${no_threads}"
    return
  fi
  t1=$(peak_kb "${file}" --threads 1)
  t2=$(peak_kb "${file}" --threads 2)
  printf '  %-26s %10s %12s %12s\n' "${name}" "${plain}" "${t1}" "${t2}"
}

peak_row "KJV x10" "${kjv10}"
peak_row "1 GB of UTF-8 text" "${big}"
peak_row "1,000,000 distinct words" "${distinct}"
