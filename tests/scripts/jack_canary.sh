#!/usr/bin/env bash
# The JACK tests leave JACK as they found it, and a JACK program that is not theirs goes on
# untouched beside them. Run by ctest around the tests over JACK (a fixture):
#   jack_canary.sh start CANARY FOLDER   notes what JACK keeps (scripts/lib/jack-state), starts a
#                                        server of its own with CANARY (qm_jack_canary) on it
#   jack_canary.sh check CANARY FOLDER   the canary lost nothing and still runs; after it and its
#                                        server are stopped, JACK keeps nothing of this run that it
#                                        did not keep before, and no test's server left its log
#   jack_canary.sh stop - FOLDER         stops a canary and its server that a run left running (one
#                                        that ended before its check: scripts/mutants stops at the
#                                        first failure)
# FOLDER is the run's: the test processes of the run note themselves in FOLDER/pids and their
# servers' logs in FOLDER/logs (tests/support/JackRun.h), so that the check judges what its own run
# left, and what a run that has ended left (a canary's or soak's server whose run's process is
# gone), never what another run going on beside it has not tidied yet (a server its test's guard
# is ending just now, in the same /dev/shm; a log in the temporary folder all runs share).
# Without jackd there is nothing to watch: both end with 77 (skipped).
set -uo pipefail
mode=$1 canary=$2 folder=$3
here=$(cd "$(dirname "$0")/../.." && pwd)
state="$here/scripts/lib/jack-state"
command -v jackd >/dev/null 2>&1 || { echo "jackd is not installed"; exit 77; }
server="quillmarven-canary-${QM_RUN_ID:-$PPID}"
export JACK_NO_AUDIO_RESERVATION=1

gone() { # pid: waits by the clock, at most $2 s, until the process has ended; whether it has
  local end=$((SECONDS + $2))
  while kill -0 "$1" 2>/dev/null; do [ "$SECONDS" -lt "$end" ] || return 1; sleep 0.1; done
}
stop() { # pid-file: ends the process with SIGTERM, waits for it (at most 30 s), else kills it and
  # says so; false when it had to be killed
  local pid; pid=$(cat "$1" 2>/dev/null) || return 0
  kill -TERM "$pid" 2>/dev/null
  gone "$pid" 30 && return 0
  echo "$(basename "$1" .pid) did not end within 30 s of SIGTERM: killed"
  kill -KILL "$pid" 2>/dev/null
  gone "$pid" 30
  return 1
}
end_server() { # stops the server and forgets both pids; jackd stopped while a client of it ends may
  # die of SIGPIPE and keep its place: JACK's own reclaim, for this server only
  stop "$folder/jackd.pid"
  rm -f "$folder/canary.pid" "$folder/jackd.pid"
  bash "$here/scripts/lib/jack-leftovers" "$(cat "$folder/server")" >/dev/null
}

# What this run left: what JACK keeps (scripts/lib/jack-state) that it did not keep at the start,
# of a process of the run or of a run that has ended, and the logs of the run's test servers.
left() {
  bash "$state" --owner | sort | comm -13 <(sort "$folder/before") - | while read -r owner line; do
    if grep -qx "$owner" "$folder/pids" 2>/dev/null || [[ "$line" =~ quillmarven-(canary|soak)- ]]; then
      echo "$line"
    fi
  done
  sort -u "$folder/logs" 2>/dev/null | while read -r log; do
    if [ -e "$log" ]; then echo "log $log"; fi
  done
}

case "$mode" in
start)
  rm -rf "$folder" && mkdir -p "$folder"
  bash "$state" --owner >"$folder/before"
  echo "$server" >"$folder/server"
  # With a metadata store of its own where it shares this user's /dev/shm (scripts/lib/jack-store).
  setsid bash "$here/scripts/lib/jack-store" jackd --no-realtime -S -n "$server" -d dummy -r 48000 -p 256 \
    >"$folder/jackd.log" 2>&1 </dev/null &
  echo $! >"$folder/jackd.pid"
  end=$((SECONDS + 30)) # by the clock: each ask may take a while on a loaded machine
  while [ "$SECONDS" -lt "$end" ]; do
    [ "$(jack_wait -s "$server" -c 2>/dev/null)" = "running" ] && break
    sleep 0.1
  done
  JACK_DEFAULT_SERVER="$server" setsid "$canary" qm-canary >"$folder/canary.log" 2>&1 </dev/null &
  echo $! >"$folder/canary.pid"
  end=$((SECONDS + 30))
  while [ "$SECONDS" -lt "$end" ]; do
    grep -qs "jack-canary: running" "$folder/canary.log" && { echo "canary runs on $server"; exit 0; }
    kill -0 "$(cat "$folder/canary.pid")" 2>/dev/null || break
    sleep 0.1
  done
  echo "the canary did not start on $server:"; sed 's/^/  /' "$folder/canary.log" "$folder/jackd.log" | tail -8
  stop "$folder/canary.pid"; stop "$folder/jackd.pid"
  exit 1
  ;;
check)
  [ -f "$folder/canary.pid" ] || { echo "no canary was started"; exit 1; }
  bad=0
  if ! kill -0 "$(cat "$folder/canary.pid")" 2>/dev/null; then
    echo "the canary died while the tests ran:"; sed 's/^/  /' "$folder/canary.log" | tail -5; bad=1
  fi
  stop "$folder/canary.pid" || bad=1 # ended, it has said what it sent and got
  tail -1 "$folder/canary.log"
  grep -q "lost 0, garbled 0$" "$folder/canary.log" || { echo "the canary lost or garbled messages"; bad=1; }
  end_server
  # The guard of a test's server may still be freeing what a test process that died left (about
  # 40 s at worst, scripts/lib/jack-guard): JACK is judged once nothing is left, or after 60 s
  # (QM_JACK_LEFT_WAIT seconds: the check's own test plants what stays).
  end=$((SECONDS + ${QM_JACK_LEFT_WAIT:-60}))
  while left >"$folder/left"; [ -s "$folder/left" ] && [ "$SECONDS" -lt "$end" ]; do sleep 0.2; done
  if [ -s "$folder/left" ]; then
    echo "the tests left in JACK's registry, /dev/shm or the temporary folder what they did not find there:"
    sed 's/^/  /' "$folder/left"; bad=1
  fi
  [ "$bad" -eq 0 ] && echo "the canary lost nothing and JACK is as the tests found it"
  exit "$bad"
  ;;
stop)
  [ -f "$folder/jackd.pid" ] || exit 0
  stop "$folder/canary.pid"
  end_server
  exit 0
  ;;
esac
echo "usage: jack_canary.sh start|check|stop CANARY FOLDER"; exit 2
