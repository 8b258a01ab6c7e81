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
#   make_small_files CORPUS DIR
#                         DIR becomes 10,000 small files of 200 to about 800
#                         bytes of CORPUS's lines, 1,000 in DIR and in each of
#                         its subfolders d01 to d09, unless DIR exists

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

# The clock is read by the shell itself (bash 5's EPOCHREALTIME, in
# microseconds): a `date` started to read it would add its own start-up
# (several milliseconds on a slow machine) to every run timed.
time_once() {
  local start end
  start=${EPOCHREALTIME/[.,]/}
  [[ -n "${start}" ]] || start=$(($(date +%s%N) / 1000))
  if ! "$@" >/dev/null 2>"${err}"; then
    echo "bench: failed: $*" >&2
    cat "${err}" >&2
    return 1
  fi
  end=${EPOCHREALTIME/[.,]/}
  [[ -n "${end}" ]] || end=$(($(date +%s%N) / 1000))
  echo $(((end - start) * 1000))
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

make_small_files() {
  local corpus="$1" dir="$2"
  [[ -d "${dir}" ]] && return 0
  rm -rf "${dir}.tmp"
  mkdir -p "${dir}.tmp"/d0{1..9}
  # Each file holds consecutive lines of the text from a random place, up to
  # a random size of 200 to about 800 bytes.
  awk -v dir="${dir}.tmp" '
    NF { line[n++] = $0 }
    END {
      srand(11)
      for (f = 0; f < 10000; f++) {
        d = int(f / 1000)
        out = sprintf("%s/%sf%04d.txt", dir, (d > 0 ? sprintf("d%02d/", d) : ""), f % 1000)
        target = 200 + int(rand() * 520); size = 0
        for (i = int(rand() * n); size < target; i = (i + 1) % n) {
          print line[i] > out; size += length(line[i]) + 1
        }
        close(out)
      }
    }' "${corpus}"
  mv "${dir}.tmp" "${dir}"
}
