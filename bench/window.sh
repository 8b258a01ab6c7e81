#!/usr/bin/env bash
# Measures how the VORN window answers while it counts (window_bench): the
# longest time between two repaints, the longest wait of a click on the
# count button, and the whole time of a count of the Bible text x10 in the
# window against vorn-cli on the same input, timed in the same run. Runs
# on a virtual X display when xvfb-run is there, else on Qt's offscreen
# platform. Builds nothing: expects build/release/bench/window_bench and
# build/release/src/cli/vorn-cli (make bench builds them first).
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
prog="build/release/bench/window_bench"
cli="build/release/src/cli/vorn-cli"
bench_start "${prog}"
bench_start "${cli}"

kjv10="${work}/kjv10.txt"
kjv1="${work}/kjv1.txt"
distinct="${work}/distinct_1m.txt"
err="${work}/window.err"
bash bench/make_input.sh "${kjv10}"
bash bench/make_distinct.sh "${distinct}"
make_kjv1 "${kjv10}" "${kjv1}"

if command -v xvfb-run >/dev/null 2>&1; then
  runner=(xvfb-run -a -s "-screen 0 1280x800x24")
  display="Xvfb"
else
  runner=(env QT_QPA_PLATFORM=offscreen)
  display="offscreen"
fi

echo "the window while it counts (${display}):"
"${runner[@]}" "${prog}" "${kjv10}" "${kjv1}" "${distinct}" "${work}" 2>"${err}" |
  tee "${work}/window_bench.txt"
cli_ns=$(best_of_3 "${cli}" -q "${kjv10}" -o "${work}/window_cli_out.txt")
echo "vorn-cli count of KJV x10, best of 3: $(awk -v n="${cli_ns}" 'BEGIN { printf "%.0f", n / 1e6 }') ms"
awk -v cli="${cli_ns}" '/window count of KJV x10/ { ms = $(NF - 1) }
  END { if (ms > 0) printf "window / vorn-cli: %.2f\n", ms / (cli / 1e6) }' "${work}/window_bench.txt"
if ! cmp -s "${work}/window_out.txt" "${work}/window_cli_out.txt"; then
  echo "bench: the window's output file differs from vorn-cli's" >&2
  exit 1
fi
echo "the window's output file is byte-identical to vorn-cli's"
