#!/bin/sh
# Slices written one per task, by GNU parallel as the README shows and by a
# single --index run with --size, are byte for byte the files of one run.
# Usage: parallel_slices_test.sh MAKE_SLICES
set -eu
make_slices=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$make_slices" --from 1 --to 10_000_000 --slices 20 --out "$work/single"
parallel "$make_slices" --from 1 --to 10_000_000 --slices 20 --index {} --out "$work/parallel" \
  ::: $(seq 0 19) </dev/null
diff -r "$work/single" "$work/parallel"

"$make_slices" --from 1000 --to 2_000_000 --size 300_000 --out "$work/sized"
"$make_slices" --from 1000 --to 2_000_000 --size 300_000 --index 6 --out "$work/one"
cmp "$work/one/Tramvelok 1.801.000 to 2.000.000 20261206120000.txt" \
  "$work/sized/Tramvelok 1.801.000 to 2.000.000 20261206120000.txt"
test "$(ls "$work/one" | wc -l)" -eq 1
echo "parallel slices equal the single run"
