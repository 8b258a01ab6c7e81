#!/usr/bin/env bash
# Times vorn-cli's folder runs (best of three runs each) against `wc -w` over
# the same files and against one file holding all of their text:
#   A. the Bible text split into one file per chapter, in a folder per book
#      (build/bench/kjv_tree/<NN_Book>/<book>_<CCC>.txt);
#   B. 10,000 small files of 200 to 800 bytes, 1,000 in the top folder and
#      in each of nine subfolders (build/bench/small10k/[dNN/]fNNNN.txt);
# then lists the files of 2,500 of them, and counts B with 2,500, 5,000 and
# 10,000 files, whose time per 1,000 files should stay about the same. Checks
# each folder run's summary and words. Builds nothing: expects
# build/release/src/cli/vorn-cli (make build). Inputs and outputs go to
# build/bench/.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cli="build/release/src/cli/vorn-cli"
bench_start "${cli}"

corpus="${VORN_CORPUS:-/work/shared/corpus/kjvbible.txt}"
err="${work}/folders.err"

fail() { echo "bench: $*" >&2; exit 1; }

[[ -r "${corpus}" ]] || fail "${corpus} not found; the folder inputs are made from it"

# Prints the files under FOLDER in the order a folder run reads them: the
# files of a folder in byte order of their names, then its subfolders in
# byte order, each in the same way.
files_in_order() {
  local name
  find "$1" -mindepth 1 -maxdepth 1 -type f -printf '%f\n' | LC_ALL=C sort \
    | while IFS= read -r name; do printf '%s\n' "$1/${name}"; done
  find "$1" -mindepth 1 -maxdepth 1 -type d -printf '%f\n' | LC_ALL=C sort \
    | while IFS= read -r name; do files_in_order "$1/${name}"; done
}

# Makes CAT, the files under FOLDER joined in reading order, unless it exists.
make_cat() {
  if [[ ! -e "$2" ]]; then
    files_in_order "$1" | tr '\n' '\0' | xargs -0 cat -- > "$2.tmp"
    mv "$2.tmp" "$2"
  fi
}

# The floor: every file under FOLDER read once and its words counted.
wc_folder() { find "$1" -type f -print0 | xargs -0 cat -- | wc -w; }

count_files() { find "$1" -type f | wc -l; }
count_folders() { find "$1" -type d | wc -l; }

# N with its thousands grouped by commas, as vorn-cli writes counts.
grouped() { echo "$1" | sed -E ':a; s/([0-9])([0-9]{3})($|,)/\1,\2\3/; ta'; }

# --- A. one file per chapter ------------------------------------------------

# bench/make_tree.sh makes it (once).
tree="${work}/kjv_tree"
bash bench/make_tree.sh "${corpus}" "${tree}"
tree_cat="${work}/kjv_tree_cat.txt"
make_cat "${tree}" "${tree_cat}"

# --- B. 10,000 small files --------------------------------------------------

# make_small_files (common.sh) makes them: the top folder and the subfolders
# d01 to d09 hold 1,000 files each. small2500 and small5000 hold the first
# 250 and 500 files of each of those folders.
small="${work}/small10k"
if [[ ! -d "${small}" ]]; then
  make_small_files "${corpus}" "${small}"
  echo "made ${small}: $(count_files "${small}") files in $(count_folders "${small}") folders"
fi
for n in 2500 5000; do
  if [[ ! -d "${work}/small${n}" ]]; then
    rm -rf "${work}/small${n}.tmp"
    for d in "" d0{1..9}; do
      mkdir -p "${work}/small${n}.tmp/${d}"
      mapfile -t names < <(seq -f "${small}/${d}${d:+/}f%04g.txt" 0 $((n / 10 - 1)))
      cp -- "${names[@]}" "${work}/small${n}.tmp/${d}"
    done
    mv "${work}/small${n}.tmp" "${work}/small${n}"
  fi
done
small_cat="${work}/small10k_cat.txt"
make_cat "${small}" "${small_cat}"

# --- the runs ---------------------------------------------------------------

# Checks that the folder run's output file OUT begins by naming FOLDER with
# its subfolders and saying that it scanned all of their files.
check_scanned() {
  local out="$1" folder="$2" expected found
  expected="Folder: ${folder} plus any subfolders"$'\n'"$(grouped "$(count_files "${folder}")")"
  expected+=" files (in $(grouped "$(count_folders "${folder}")") folders) were scanned."
  found=$(head -n 2 "${out}" | tr -d '\r')
  [[ "${found}" == "${expected}" ]] \
    || fail "${out} begins"$'\n'"${found}"$'\n'"not"$'\n'"${expected}"
}

# Times FOLDER and CAT (its files joined): wc -w over the files, a folder
# run with subfolders and a run on CAT; prints the seconds and the ratios,
# and leaves the folder run's time in folder_ns. Checks the folder run's
# summary, and that both runs list the same words with the same counts.
bench_folder() {
  local name="$1" folder="$2" cat_file="$3" out="${work}/folders_out.txt"
  local cat_out="${work}/folders_out_cat.txt" wc_ns cat_ns
  wc_ns=$(best_of_3 wc_folder "${folder}")
  rm -f "${out}" "${cat_out}"
  folder_ns=$(best_of_3 "${cli}" -q -r "${folder}" -o "${out}")
  cat_ns=$(best_of_3 "${cli}" -q "${cat_file}" -o "${cat_out}")
  check_scanned "${out}" "${folder}"
  # The folder run's header is five lines (folder, summary, two counts and
  # an empty line), the single file's one line.
  cmp -s <(tail -n +6 "${out}") <(tail -n +2 "${cat_out}") \
    || fail "${name}: the folder run and the run on ${cat_file} list different words"
  echo "${name}: $(count_files "${folder}") files in $(count_folders "${folder}") folders," \
    "$(awk -v b="$(stat -c %s "${cat_file}")" 'BEGIN { printf "%.1f", b / 1e6 }') MB"
  printf '  %-40s %7s s\n' "wc -w over the files:" "$(seconds "${wc_ns}")" \
    "vorn-cli -r on the folder:" "$(seconds "${folder_ns}")" \
    "vorn-cli on the files joined:" "$(seconds "${cat_ns}")"
  awk -v f="${folder_ns}" -v c="${cat_ns}" -v w="${wc_ns}" 'BEGIN {
    printf "  ratio folder run / one file: %.2f   folder run / wc -w: %.2f\n",
      (c > 0 ? f / c : 0), (w > 0 ? f / w : 0)
  }'
}

echo "folders (best of 3):"
bench_folder "A, one file per chapter" "${tree}" "${tree_cat}"
bench_folder "B, small files" "${small}" "${small_cat}"
small_ns=${folder_ns}

# The listing of the files a count would read, checked against their reading
# order.
listed="${small}"
list_ns=$(best_of_3 "${cli}" -r --list-files "${listed}")
"${cli}" -r --list-files "${listed}" > "${work}/folders_listed.txt" 2>"${err}" \
  || { cat "${err}" >&2; fail "failed: ${cli} -r --list-files ${listed}"; }
cmp -s <(files_in_order "${listed}") <(awk -v d="${listed}" \
  '{ sub(/\r$/, ""); sub(/^\{Folder\}/, d) } index($0, d "/") == 1' "${work}/folders_listed.txt") \
  || fail "the files listed for ${listed} are not its files in reading order"
printf '  %-40s %7s s\n' "vorn-cli -r --list-files, 10,000 files:" "$(seconds "${list_ns}")"
awk -v c="${small_ns}" -v l="${list_ns}" 'BEGIN {
  printf "  files per second: %.0f counted, %.0f listed\n", 10000 / (c / 1e9), 10000 / (l / 1e9)
}'

# --- time per 1,000 files as their number grows -----------------------------

echo "B by number of files (best of 3):"
for n in 2500 5000 10000; do
  ns=${small_ns}  # 10,000: timed above
  if [[ ${n} -ne 10000 ]]; then
    rm -f "${work}/folders_out.txt"
    ns=$(best_of_3 "${cli}" -q -r "${work}/small${n}" -o "${work}/folders_out.txt")
    check_scanned "${work}/folders_out.txt" "${work}/small${n}"
  fi
  [[ ${n} -eq 2500 ]] && ns_2500=${ns}
  awk -v ns="${ns}" -v n="${n}" 'BEGIN {
    printf "  %6d files: %7.3f s   %.4f s per 1,000 files\n", n, ns / 1e9, ns / 1e9 / (n / 1000)
  }'
done
awk -v a="${ns_2500}" -v b="${small_ns}" 'BEGIN {
  r = (a > 0 ? (b / 4) / a : 0)
  printf "  per 1,000 files at 10,000 / at 2,500: %.2f (1 when linear, 4 when quadratic): %s\n", r,
    (r < 2 ? "linear" : "GROWS")
}'
