#!/usr/bin/env bash
# scripts/lib/jack-leftovers frees a dead server's place, and ends, also when JACK's metadata store
# is broken (left half made: every JACK program that opens it dies of SIGBUS, and a server on it
# hangs or dies when it ends). The store is broken on purpose, so this runs in a /dev/shm and a PID
# namespace of its own (as scripts/lib/jack-private makes them); where none can be made, it skips.
set -u
command -v jackd >/dev/null 2>&1 || { echo "jackd is not installed"; exit 77; }
if [ -z "${QM_LEFTOVERS_TEST_INSIDE:-}" ]; then
  ns=(--mount --ipc --pid --fork --mount-proc --propagation private)
  if [ "$(id -u)" -ne 0 ]; then ns=(--user --map-root-user "${ns[@]}"); fi
  unshare "${ns[@]}" true 2>/dev/null || { echo "no namespace of its own can be made here"; exit 77; }
  exec unshare "${ns[@]}" env QM_LEFTOVERS_TEST_INSIDE=1 \
    bash -c 'mount -t tmpfs -o mode=1777 tmpfs /dev/shm && exec bash "$0"' "$0"
fi
here=$(cd "$(dirname "$0")" && pwd)
lib="$here/../../scripts/lib"
export JACK_NO_AUDIO_RESERVATION=1
name=quillmarven-test-2 # a dead server of a test: killed hard, it keeps its place
jackd --no-realtime -n "$name" -d dummy >/dev/null 2>&1 &
for _ in $(seq 1 50); do [ "$(jack_wait -s "$name" -c 2>/dev/null)" = "running" ] && break; sleep 0.1; done
kill -KILL $! && wait $! 2>/dev/null
truncate -s 8192 "/dev/shm/jack_db-$(id -u)/__db.002" # what a store made half sizes
jack_wait -s "$name" -c >/dev/null 2>&1
[ $? -eq 135 ] || { echo "FAIL: the store was not broken (a client did not die of SIGBUS)"; exit 1; }

timeout -k 5 40 bash "$lib/jack-leftovers" "$name"
rc=$?
bad=0
[ "$rc" -eq 0 ] || { echo "FAIL: jack-leftovers ended with status $rc (124: it did not end in 40 s)"; bad=1; }
left=$(bash "$lib/jack-state" --owned-too)
[ -z "$left" ] || { echo "FAIL: left in JACK's registry or /dev/shm:"; echo "$left"; bad=1; }
pgrep -a jackd && { echo "FAIL: a jackd still runs (above)"; bad=1; }
[ "$bad" -eq 0 ] && echo "the dead server's place is free and nothing of it is left"
exit "$bad"
