#!/usr/bin/env bash
# Writes OUT: about 1,000,000,000 bytes of real UTF-8 text. Does nothing when
# OUT already exists.
#
# Usage: make_big.sh OUT [BYTES]
# The text is the corpus (VORN_CORPUS when set, else the shared corpus copy
# when present, else the bundled data/sample.txt) followed by the machine's
# own documentation: the licence texts under /usr/share/common-licenses, the
# copyright files, read-me files, news and change logs under /usr/share/doc
# (gunzipped), and the manual pages under /usr/share/man, gunzipped with
# their formatting requests and font escapes taken out (the translated pages
# bring most of the text beyond ASCII). Whatever is not valid UTF-8 is
# dropped, and control bytes other than tab and line feed. When less than
# 3 per cent of the bytes are beyond ASCII, the lines that hold such
# bytes are added again until they are. The whole is repeated up to BYTES
# (default 1,000,000,000) and cut there, so its last line may end short.
#
# The file begins with a UTF-8 byte-order mark and a line of text beyond
# ASCII: vorn reads a file as UTF-8 when it begins with the mark (and also
# when its first 16 KB are valid UTF-8 with a byte beyond ASCII).
set -euo pipefail

if [[ $# -lt 1 || $# -gt 2 || -z "$1" ]]; then
  echo "usage: make_big.sh OUT [BYTES]" >&2
  exit 2
fi
out="$1"
target="${2:-1000000000}"
if [[ -e "${out}" ]]; then
  exit 0
fi
min_percent=3

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
corpus="${VORN_CORPUS:-/work/shared/corpus/kjvbible.txt}"
if [[ ! -r "${corpus}" ]]; then
  corpus="${root}/data/sample.txt"
fi

mkdir -p "$(dirname "${out}")"
pool="${out}.pool.$$"
rich="${out}.rich.$$"
tmp="${out}.tmp.$$"
trap 'rm -f "${pool}" "${rich}" "${tmp}"' EXIT

# Prints the documentation files that exist, NUL-terminated, in byte order of
# their paths.
doc_files() {
  local dirs=()
  for d in /usr/share/common-licenses /usr/share/doc; do
    [[ -d "${d}" ]] && dirs+=("${d}")
  done
  [[ ${#dirs[@]} -gt 0 ]] || return 0
  find "${dirs[@]}" -type f \( -path '/usr/share/common-licenses/*' -o -name copyright \
    -o -name 'README*' -o -name 'NEWS*' -o -name 'changelog*' -o -name '*.txt' -o -name '*.md' \) \
    -print0 2>/dev/null | LC_ALL=C sort -z
}

man_files() {
  [[ -d /usr/share/man ]] || return 0
  find /usr/share/man -type f -name '*.gz' -print0 2>/dev/null | LC_ALL=C sort -z
}

# Keeps valid UTF-8 only, without control bytes other than tab and line feed.
clean_text() {
  { iconv -c -f UTF-8 -t UTF-8 || true; } | LC_ALL=C tr -d '\000-\010\013-\037\177'
}

# The text of manual pages: no requests (lines that begin with a dot or an
# apostrophe), no font escapes; escaped hyphens as hyphens.
man_text() {
  LC_ALL=C sed -e "/^[.']/d" -e 's/\\f[BIRPC]//g; s/\\f(..//g; s/\\f\[[A-Z]*\]//g' \
    -e 's/\\-/-/g; s/\\&//g; s/\\e/\\/g'
}

{
  cat -- "${corpus}"
  doc_files | xargs -0 -r gzip -cdf -- 2>/dev/null || true
  man_files | xargs -0 -r gzip -cd -- 2>/dev/null | man_text || true
} | clean_text > "${pool}"

pool_size=$(stat -c %s "${pool}")
if [[ ${pool_size} -le 0 ]]; then
  echo "make_big.sh: no text found" >&2
  exit 1
fi

# Bytes beyond ASCII, and the lines that hold them, added again as often as
# the share needs.
non_ascii() { LC_ALL=C tr -d '\000-\177' < "$1" | wc -c; }
high=$(non_ascii "${pool}")
if [[ $((high * 100)) -lt $((min_percent * pool_size)) ]]; then
  LC_ALL=C grep -a $'[\x80-\xff]' "${pool}" > "${rich}" || true
  rich_size=$(stat -c %s "${rich}")
  rich_high=$(non_ascii "${rich}")
  if [[ ${rich_high} -gt 0 ]]; then
    # The smallest k with (high + k*rich_high) * 100 >= min_percent * (size + k*rich_size).
    k=$(awk -v h="${high}" -v s="${pool_size}" -v rh="${rich_high}" -v rs="${rich_size}" \
      -v p="${min_percent}" 'BEGIN {
        d = rh * 100 - p * rs
        if (d <= 0) { print 0; exit }
        k = (p * s - h * 100) / d
        print (k == int(k) ? k : int(k) + 1)
      }')
    for ((i = 0; i < k; i++)); do cat "${rich}"; done >> "${pool}"
    pool_size=$(stat -c %s "${pool}")
    high=$(non_ascii "${pool}")
  fi
fi

# The first line, then as many whole copies of the pool as fit, then the
# start of one more.
printf '\xEF\xBB\xBF%s\n' "UTF-8 text for timing vorn: a corpus and the documentation of this machine \
$(printf '\xE2\x80\x94 \xC3\xA4\xC3\xB6\xC3\xBC \xC3\xA9\xC3\xA8 \xC3\xB1 \xC3\x9F \xD0\xB4\xD0\xB0 \xE6\x96\x87\xE5\xAD\x97')" \
  > "${tmp}"
left=$((target - $(stat -c %s "${tmp}")))
{
  for ((i = 0; i < left / pool_size; i++)); do cat "${pool}"; done
  head -c $((left % pool_size)) "${pool}"
} >> "${tmp}"
mv "${tmp}" "${out}"
awk -v out="${out}" -v h="${high}" -v s="${pool_size}" -v t="${target}" 'BEGIN {
  printf "made %s: %d bytes from %.1f MB of text, %.1f%% of its bytes beyond ASCII\n", out, t,
    s / 1e6, 100 * h / s
}'
