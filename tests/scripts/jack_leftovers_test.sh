#!/usr/bin/env bash
# scripts/lib/jack-leftovers frees a dead server's place, and ends:
# - hang, sigbus: while JACK's metadata store is broken (left half made: the first JACK program to
#   open it dies of SIGBUS, every later one hangs, and a server on it hangs or dies when it ends),
#   whether a client of the test met the store first (the reclaim's ask hangs) or the reclaim's
#   own ask is the first (it dies of SIGBUS);
# - slow_end: when its server takes a second to end in order after SIGTERM, without killing it hard;
# - person, no_store: in a person's /dev/shm, beside the person's JACK server, whose metadata store
#   (the names set on its ports) stays as it was; where there was no store, none is left.
# The store is broken on purpose and the person stands in; so each case runs in a /dev/shm and a
# PID namespace of its own (as scripts/lib/jack-private makes them); where none can be made, it
# skips.
#   jack_leftovers_test.sh [CASE...]   (all cases by default)
set -u
command -v jackd >/dev/null 2>&1 || { echo "jackd is not installed"; exit 77; }
if [ -z "${QM_LEFTOVERS_TEST_CASE:-}" ]; then
  ns=(--mount --ipc --pid --fork --mount-proc --propagation private)
  if [ "$(id -u)" -ne 0 ]; then ns=(--user --map-root-user "${ns[@]}"); fi
  unshare "${ns[@]}" true 2>/dev/null || { echo "no namespace of its own can be made here"; exit 77; }
  cases=("$@")
  [ $# -gt 0 ] || cases=(hang sigbus slow_end person no_store)
  bad=0
  for case in "${cases[@]}"; do
    unshare "${ns[@]}" env QM_LEFTOVERS_TEST_CASE="$case" \
      bash -c 'mount -t tmpfs -o mode=1777 tmpfs /dev/shm && exec bash "$0"' "$0" || bad=1
  done
  exit "$bad"
fi
here=$(cd "$(dirname "$0")" && pwd)
lib="$here/../../scripts/lib"
export JACK_NO_AUDIO_RESERVATION=1
unset JACK_DEFAULT_SERVER QM_JACK_STORE
export QM_PRIVATE_SHM=1 # the tests' own /dev/shm, but in the person's cases
name=quillmarven-test-2 # a dead server of a test: killed hard, it keeps its place
store="/dev/shm/jack_db-$(id -u)"
case=$QM_LEFTOVERS_TEST_CASE
fail() { echo "FAIL ($case): $*"; bad=1; }
bad=0

# Starts jackd ARGS... and waits until it takes clients (or has ended); its number in $started.
start() {
  jackd --no-realtime "$@" -d dummy >/dev/null 2>&1 &
  started=$!
  local server=default
  [ "${1:-}" = "-n" ] && server=$2
  until [ "$(jack_wait -s "$server" -c 2>/dev/null)" = "running" ]; do
    kill -0 "$started" 2>/dev/null || return 1
    sleep 0.1
  done
}
dead_place() {
  start -n "$name" || { fail "the test's server did not start"; exit 1; }
  kill -KILL "$started" && wait "$started" 2>/dev/null
}
# A store a program made half (what the first JACK program to open it dies of).
break_store() { truncate -s 8192 "$store/__db.002"; }
# Runs the reclaim of the dead server; what it said in $said.
reclaim() {
  said=$("$@" bash "$lib/jack-leftovers" "$name")
  local rc=$?
  [ "$rc" -eq 0 ] || fail "jack-leftovers ended with status $rc (124: it did not end in time)"
}
freed() { # but for the jackd numbered $1
  local left
  left=$(bash "$lib/jack-state" --owned-too)
  [ -z "$left" ] || fail "left in JACK's registry or /dev/shm: $left"
  left=$(pgrep -a jackd | grep -v "^${1:-0} ")
  [ -z "$left" ] || fail "a jackd still runs: $left"
  grep -qx "reclaimed the place of JACK server $name, whose process had ended" <<<"$said" ||
    fail "the place was not told reclaimed: $said"
}

case "$case" in
hang)
  dead_place
  break_store
  { jack_wait -s "$name" -c >/dev/null 2>&1; } 2>/dev/null # the shell says "Bus error"
  [ $? -eq 135 ] || { fail "the store was not broken (a client did not die of SIGBUS)"; exit 1; }
  reclaim timeout -k 5 40
  freed
  ;;
sigbus)
  # The reclaim's ask is the first program to open the broken store. That it dies of SIGBUS is
  # shown on a copy, which is then put back as it was before anything opened it.
  dead_place
  break_store
  copy=$(mktemp -d)
  cp -a "$store" "$copy/store"
  { jack_wait -s "$name" -c >/dev/null 2>&1; } 2>/dev/null # the shell says "Bus error"
  [ $? -eq 135 ] || { fail "the store was not broken (a client did not die of SIGBUS)"; rm -rf "$copy"; exit 1; }
  rm -rf "$store" && cp -a "$copy/store" "$store" && rm -rf "$copy"
  reclaim
  grep -q "^removed JACK's metadata store $store" <<<"$said" || fail "the broken store was not removed: $said"
  freed
  ;;
slow_end)
  # A jackd whose clients take a second to say goodbye: it ends in order a second after SIGTERM,
  # and dies with its stand-in if that is killed hard.
  command -v setpriv >/dev/null 2>&1 || { echo "setpriv is not installed"; exit 77; }
  dead_place
  bin=$(mktemp -d)
  cat >"$bin/jackd" <<EOF
#!/usr/bin/env bash
setpriv --pdeathsig SIGKILL -- "$(command -v jackd)" "\$@" &
trap 'sleep 1; kill -TERM \$!; wait \$! && echo "ended in order" >"$bin/ended"' TERM
wait \$!
EOF
  chmod +x "$bin/jackd"
  reclaim env PATH="$bin:$PATH"
  [ -f "$bin/ended" ] || fail "the reclaim's server was killed before it ended in order"
  freed
  rm -rf "$bin"
  ;;
person)
  unset QM_PRIVATE_SHM
  start || { fail "the person's server did not start"; exit 1; }
  person=$started
  key=http://jackaudio.org/metadata/pretty-name
  jack_property -p -s system:capture_1 "$key" "Left In"
  dead_place
  reclaim
  named=$(jack_property -p -l system:capture_1 "$key" 2>/dev/null)
  [ "$named" = "Left In" ] || fail "the name the person set on a port is gone (it reads \"$named\")"
  freed "$person"
  kill -0 "$person" 2>/dev/null || fail "the person's server has gone"
  kill "$person" && wait "$person"
  ;;
no_store)
  unset QM_PRIVATE_SHM
  dead_place
  rm -rf "$store" # the person has none
  reclaim
  [ ! -e "$store" ] || fail "a metadata store $store is left: $(ls -a "$store" | tr '\n' ' ')"
  freed
  ;;
esac
[ "$bad" -eq 0 ] && echo "$case: the dead server's place is free and nothing of it is left"
exit "$bad"
