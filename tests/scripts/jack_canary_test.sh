#!/usr/bin/env bash
# tests/scripts/jack_canary.sh's check, shown what JACK keeps of a test process of its own run that
# has ended (counted in the run by the test program's own start, tests/support/JackRun.h), fails
# naming it; what a process of another run beside it left is not blamed. Each leftover is a
# client's semaphore in /dev/shm of a server named after its process, as a test that died leaves.
#   jack_canary_test.sh CANARY TESTS   (qm_jack_canary; a test program, which counts itself)
set -u
here=$(cd "$(dirname "$0")" && pwd)
canary=$1 tests=$2
command -v jackd >/dev/null 2>&1 || { echo "jackd is not installed"; exit 77; }
tmp=$(mktemp -d)
run="$tmp/run" other="$tmp/other"
planted=()
trap 'bash "$here/jack_canary.sh" stop - "$run" >/dev/null; rm -f "${planted[@]}"; rm -rf "$tmp"' EXIT

bash "$here/jack_canary.sh" start "$canary" "$run" || { echo "FAIL: the canary did not start"; exit 1; }
mkdir -p "$other"
# A test process of RUN (or another run) that has ended, and what JACK keeps of it.
ended() { # RUN: prints the file planted
  QM_JACK_RUN=$1 "$tests" --gtest_list_tests >/dev/null 2>&1 &
  local pid=$!
  wait "$pid"
  local file="jack_sem.$(id -u)_quillmarven-test-${pid}_qm-dying-$pid"
  : >"/dev/shm/$file"
  echo "$file"
}
mine=$(ended "$run") && planted+=("/dev/shm/$mine")
theirs=$(ended "$other") && planted+=("/dev/shm/$theirs")

said=$(QM_JACK_LEFT_WAIT=1 bash "$here/jack_canary.sh" check "$canary" "$run")
rc=$?
bad=0
if [ "$rc" -eq 0 ] || ! grep -qx "  file $mine" <<<"$said"; then
  echo "FAIL: the check did not fail naming file $mine, which its own run left"; bad=1
fi
if grep -q "$theirs" <<<"$said"; then echo "FAIL: the check blamed file $theirs, which another run left"; bad=1; fi
[ "$bad" -eq 0 ] || sed 's/^/  check: /' <<<"$said"
[ "$bad" -eq 0 ] && echo "the check failed naming what its own run left, and only that"
exit "$bad"
