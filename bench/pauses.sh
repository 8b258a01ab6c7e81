#!/usr/bin/env bash
# Measures the longest time the engine works without letting events run, on
# the bench's inputs: a count of the Bible text x10, a count of 1,000,000
# distinct words, the alphabetical relist of that, and a count of the Bible
# text once with the words shown as found. Builds nothing: expects
# build/release/bench/pause_bench (make bench builds it first). Inputs and
# outputs go to build/bench/.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "${root}"

prog="build/release/bench/pause_bench"
work="build/bench"
if [[ ! -x "${prog}" ]]; then
  echo "bench: ${prog} not found; run 'make build' first" >&2
  exit 1
fi
mkdir -p "${work}"

kjv10="${work}/kjv10.txt"
kjv1="${work}/kjv1.txt"
distinct="${work}/distinct_1m.txt"
bash bench/make_input.sh "${kjv10}"
bash bench/make_distinct.sh "${distinct}"
if [[ ! -e "${kjv1}" ]]; then
  # One tenth of the lines: one copy of the text.
  lines=$(wc -l < "${kjv10}")
  head -n $((lines / 10)) "${kjv10}" > "${kjv1}.tmp"
  mv "${kjv1}.tmp" "${kjv1}"
fi

echo "pauses (time between two calls of ProcessEvents):"
"${prog}" "${kjv10}" "${kjv1}" "${distinct}" "${work}"
