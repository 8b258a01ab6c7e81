#!/usr/bin/env bash
# Checks that every .h and .cpp file under src/, tests/ and bench/ (tracked by
# git or present on disk) is formatted as the repository's .clang-format says.
# Lists the files that are not and exits 1; exits 0 when all are formatted.
#
# Usage: format_check.sh [REPO_ROOT]   (default: the folder above this script)
# The clang-format program may be chosen with CLANG_FORMAT.
set -euo pipefail

root="${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
clang_format="${CLANG_FORMAT:-clang-format}"
cd "${root}"

if ! command -v "${clang_format}" >/dev/null 2>&1; then
  echo "format_check: ${clang_format} not found (install the clang-format package)" >&2
  exit 1
fi

dirs=()
for d in src tests bench; do
  [[ -d "${d}" ]] && dirs+=("${d}")
done
if [[ ${#dirs[@]} -eq 0 ]]; then
  echo "format_check: no source folders under ${root}" >&2
  exit 1
fi

# Files known to git and files present on disk (new ones not added yet).
mapfile -t files < <(
  {
    if git -C "${root}" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
      git -C "${root}" ls-files -- "${dirs[@]}" 2>/dev/null || true
    fi
    find "${dirs[@]}" -type f \( -name '*.h' -o -name '*.cpp' \) -print
  } | grep -E '\.(h|cpp)$' | sed 's|^\./||' | sort -u
)

bad=()
checked=0
for f in "${files[@]}"; do
  [[ -f "${f}" ]] || continue  # tracked but deleted from the working tree
  checked=$((checked + 1))
  if ! "${clang_format}" --style=file --dry-run --Werror "${f}" >/dev/null 2>&1; then
    bad+=("${f}")
  fi
done

if [[ ${#bad[@]} -gt 0 ]]; then
  echo "format_check: ${#bad[@]} of ${checked} files are not formatted (run: make format):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "format_check: ${checked} files formatted"
