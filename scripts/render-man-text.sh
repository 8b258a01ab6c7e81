#!/usr/bin/env bash
# Renders the man page docs/vorn-cli.1 as plain text into
# docs/manual/vorn-cli.1.txt, the copy that the user manual links to (a
# browser shows a .txt file; it would offer to download a .1 file).
#
# Usage: scripts/render-man-text.sh
#
# Needs groff (Debian package groff-base). Run it after every change of the
# man page and commit the result: a build never runs this.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
page="${root}/docs/vorn-cli.1"
out="${root}/docs/manual/vorn-cli.1.txt"

# 78 columns, ASCII only, no bold or underline overstrikes.
groff -man -Tascii -rLL=78n -P-c -P-b -P-u "${page}" | sed -e 's/[[:space:]]*$//' | cat -s >"${out}"
echo "wrote ${out}"
