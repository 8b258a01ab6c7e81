#!/usr/bin/env bash
# Installs the Debian packages listed in scripts/packages.txt that are not
# installed yet. Does nothing (and needs no network) when all are present.
# Runs without a terminal: no question is asked.
#
# Usage: install-deps.sh [--fuzz]
#   --fuzz  installs the packages of scripts/fuzz-packages.txt instead (clang
#           and the libFuzzer runtime, for make fuzz).
set -euo pipefail

script_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
list="${script_dir}/packages.txt"
case "${1:-}" in
  "") ;;
  --fuzz) list="${script_dir}/fuzz-packages.txt" ;;
  *)
    echo "install-deps: unknown option $1 (usage: install-deps.sh [--fuzz])" >&2
    exit 2
    ;;
esac

if [[ ! -r "${list}" ]]; then
  echo "install-deps: cannot read ${list}" >&2
  exit 1
fi

missing=()
while IFS= read -r line || [[ -n "${line}" ]]; do
  pkg="${line%%#*}"
  pkg="${pkg//[[:space:]]/}"
  [[ -z "${pkg}" ]] && continue
  status="$(dpkg-query -W -f='${db:Status-Status}' "${pkg}" 2>/dev/null || true)"
  if [[ "${status}" != "installed" ]]; then
    missing+=("${pkg}")
  fi
done < "${list}"

if [[ ${#missing[@]} -eq 0 ]]; then
  echo "install-deps: all packages are installed"
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
sudo_cmd=()
if [[ "$(id -u)" -ne 0 ]]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "install-deps: not root and sudo is not available; install: ${missing[*]}" >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update < /dev/null
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}" < /dev/null
