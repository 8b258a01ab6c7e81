# Sourced by the bench scripts: moves to the repository root, checks that the
# program a script times was built, and makes the shared inputs.
#   bench_start PROGRAM   cd to the root; fail unless PROGRAM is executable;
#                         make build/bench/ (the folder of inputs and outputs)
#   make_kjv1 KJV10 KJV1  KJV1 becomes one tenth of KJV10's lines (one copy
#                         of the text), unless it exists
#   time_once ARGS...     runs ARGS once, its output discarded and its messages
#                         in ${err} (shown when it fails), and prints the
#                         elapsed nanoseconds; a script may define its own
#   best_of_3 ARGS...     the shortest of three runs of time_once ARGS..., in
#                         nanoseconds
#   seconds NS            NS nanoseconds as seconds with three decimals

work="build/bench"

bench_start() {
  cd "$(dirname "${BASH_SOURCE[0]}")/.."
  if [[ ! -x "$1" ]]; then
    echo "bench: $1 not found; run 'make build' first" >&2
    exit 1
  fi
  mkdir -p "${work}"
}

make_kjv1() {
  if [[ ! -e "$2" ]]; then
    local lines
    lines=$(wc -l < "$1")
    head -n $((lines / 10)) "$1" > "$2.tmp"
    mv "$2.tmp" "$2"
  fi
}

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

best_of_3() {
  local best="" t
  for _ in 1 2 3; do
    t=$(time_once "$@") || return 1
    if [[ -z "${best}" || ${t} -lt ${best} ]]; then
      best=${t}
    fi
  done
  echo "${best}"
}

seconds() { awk -v ns="$1" 'BEGIN { printf "%.3f", ns / 1e9 }'; }
