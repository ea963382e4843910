#!/usr/bin/env bash
# The totals of scripts/test on captured logs: every kind of ctest failure and every fuzz
# finding is counted, and a run that failed never reads "0 failed".
set -u
here=$(cd "$(dirname "$0")" && pwd)
summary="$here/../../scripts/lib/summary"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
printf 'fuzz: 9 targets, 20 s each, 0 found something\n' >"$tmp/fuzz-ok"
printf 'fuzz: 9 targets, 20 s each, 2 found something\n' >"$tmp/fuzz-found"
: >"$tmp/empty"
bad=0
expect() { # expected-line expected-status ctest-log ctest-rc fuzz-log fuzz-rc
  local want=$1 want_rc=$2; shift 2
  local out rc; out=$(bash "$summary" "$@"); rc=$?
  if [ "$(tail -1 <<<"$out")" != "$want" ] || { [ "$want_rc" -eq 0 ] && [ "$rc" -ne 0 ]; } ||
     { [ "$want_rc" -ne 0 ] && [ "$rc" -eq 0 ]; }; then
    echo "FAIL: $* -> '$out' (status $rc), expected '$want' (status $want_rc)"; bad=1
  fi
}
# Failed, Not Run, SegFault, Subprocess aborted and Timeout are five failures; one skip.
expect "11 passed, 5 failed, 1 skipped" 1 "$here/ctest_failures.log" 8 "$tmp/fuzz-ok" 0
expect "9 passed, 7 failed, 1 skipped" 1 "$here/ctest_failures.log" 8 "$tmp/fuzz-found" 1
# A run that stopped without a result line, or a fuzz run that broke before its totals.
expect "0 passed, 1 failed, 0 skipped" 1 "$tmp/empty" 2 "$tmp/empty" 0
expect "0 passed, 2 failed, 0 skipped" 1 "$tmp/empty" 2 "$tmp/empty" 1
# Only passes: status 0.
grep -v -E '\*\*\*|aborted' "$here/ctest_failures.log" >"$tmp/passing"
expect "11 passed, 0 failed, 0 skipped" 0 "$tmp/passing" 0 "$tmp/fuzz-ok" 0
[ "$bad" -eq 0 ] && echo "all summary cases hold"
exit "$bad"
