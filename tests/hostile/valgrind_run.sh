#!/usr/bin/env bash
# Runs gapmerge --batch under valgrind over a copy of the example reports and
# fails on any memory error or definite leak.
# Usage: valgrind_run.sh GAPMERGE_EXE EXAMPLES_DIR
set -euo pipefail
program=$1
examples=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/gapmerge-valgrind-XXXXXX")
trap 'rm -rf "$work"' EXIT
cp "$examples"/Tramvelok* "$work"/
valgrind --error-exitcode=99 --leak-check=full --errors-for-leak-kinds=definite \
  "$program" --batch -C "$work" >"$work/summary.txt"
grep -q '^nGaps : ' "$work/summary.txt"
test -s "$work/fileout.txt"
