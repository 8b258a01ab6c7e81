#!/usr/bin/env bash
# Measures the longest time the engine works without letting events run, on
# the bench's inputs: a count of the Bible text x10, a count of 1,000,000
# distinct words, the alphabetical relist of that, and a count of the Bible
# text once with the words shown as found. Builds nothing: expects
# build/release/bench/pause_bench (make bench builds it first). Inputs and
# outputs go to build/bench/.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
prog="build/release/bench/pause_bench"
bench_start "${prog}"

kjv10="${work}/kjv10.txt"
kjv1="${work}/kjv1.txt"
distinct="${work}/distinct_1m.txt"
bash bench/make_input.sh "${kjv10}"
bash bench/make_distinct.sh "${distinct}"
make_kjv1 "${kjv10}" "${kjv1}"  # one copy of the text

echo "pauses (time between two calls of ProcessEvents):"
"${prog}" "${kjv10}" "${kjv1}" "${distinct}" "${work}"
