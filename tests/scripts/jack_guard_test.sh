#!/usr/bin/env bash
# scripts/lib/jack-guard frees a test server's place only once the server's process is gone. A
# jackd that ends (a signal, or a hang and SIGKILL) loses its command line first, with its memory,
# and only then becomes a zombie: on a loaded machine it stays so, neither serving nor a zombie, long
# enough for the guard to look. JACK takes it as running until it is reaped; a reclaim before then
# frees nothing, and its place in the registry and its files stay when it is gone. Here a stand-in
# server drops its command line at SIGTERM and ends a second later; the guard must end after it.
set -u
here=$(cd "$(dirname "$0")" && pwd)
guard="$here/../../scripts/lib/jack-guard"
tmp=$(mktemp -d)
name="quillmarven-test-$$" # no server of this name runs: the guard's reclaim finds nothing to do
bash -c 'trap "exec -a ending sleep 1" TERM; while :; do sleep 0.05; done' server -n "$name" -d dummy &
server=$!
trap 'kill "$server" 2>/dev/null; rm -rf "$tmp"' EXIT
echo "$server" | bash "$guard" "$name" "$tmp/server.log" >/dev/null 2>&1
if kill -0 "$server" 2>/dev/null; then
  echo "FAIL: the guard ended while the server it was told of still ran ($(tr '\0' ' ' <"/proc/$server/cmdline"))"
  exit 1
fi
echo "the guard ended after its server"
