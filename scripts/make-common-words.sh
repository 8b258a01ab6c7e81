#!/usr/bin/env bash
# Remakes the common-words files data/cwds_*.txt from the npm package
# stopwords-iso at a pinned version (see data/README.md).
#
# Usage: scripts/make-common-words.sh
#
# Needs npm (Debian package npm), python3 and the npm registry. Fetches the
# package tarball with `npm pack`, checks its SHA-512 against the pinned
# value, and runs scripts/make_common_words.py on its stopwords-iso.json.
# The words dropped from the source lists, and why, are printed on standard
# error. The generated files are committed: a build never runs this.
set -euo pipefail

version="1.1.0"
integrity="sha512-I6GPS/E0zyieHehMRPQcqkiBMJKGgLta+1hREixhoLPqEA0AlVFiC43dl8uPpmkkeRdDMzYRWFWk5/l9x7nmNg=="

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "${work}"' EXIT

for tool in npm python3 tar; do
  if ! command -v "${tool}" >/dev/null 2>&1; then
    echo "make-common-words: ${tool} not found" >&2
    exit 1
  fi
done

(cd "${work}" && npm pack --silent "stopwords-iso@${version}" >/dev/null)
tarball="${work}/stopwords-iso-${version}.tgz"
if [[ ! -f "${tarball}" ]]; then
  echo "make-common-words: npm pack did not leave ${tarball}" >&2
  exit 1
fi

actual="sha512-$(python3 -c 'import base64,hashlib,sys; print(base64.b64encode(hashlib.sha512(open(sys.argv[1],"rb").read()).digest()).decode())' "${tarball}")"
if [[ "${actual}" != "${integrity}" ]]; then
  echo "make-common-words: ${tarball} has integrity ${actual}, expected ${integrity}" >&2
  exit 1
fi

tar -xzf "${tarball}" -C "${work}"
python3 "${root}/scripts/make_common_words.py" "${work}/package/stopwords-iso.json" "${root}/data"
