#!/usr/bin/env bash
# The fuzz targets' seed writer (fuzz/make_seeds.cpp) into a folder that does not exist yet and
# again into the same folder: both runs succeed and write every seed kept in fuzz/corpus, and
# no other.
#   fuzz_seeds_test.sh MAKE_SEEDS KEPT_CORPUS
set -u
make_seeds=$1 kept=$2
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
names() { (cd "$1" && find . -type f | sort); }
bad=0
for run in "a fresh folder" "the same folder again"; do
  "$make_seeds" "$tmp/corpus/new" >"$tmp/out" 2>&1 || { echo "FAIL: into $run:"; cat "$tmp/out"; bad=1; continue; }
  if ! diff <(names "$kept") <(names "$tmp/corpus/new") >"$tmp/diff"; then
    echo "FAIL: into $run, the seeds written are not those kept (< kept only, > written only):"
    cat "$tmp/diff"; bad=1
  fi
  empty=$(find "$tmp/corpus/new" -type f -empty)
  [ -z "$empty" ] || { echo "FAIL: into $run, empty seeds: $empty"; bad=1; }
done
[ "$bad" -eq 0 ] && echo "the seeds are written into a fresh folder and over their own"
exit "$bad"
