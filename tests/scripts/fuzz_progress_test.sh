#!/usr/bin/env bash
# scripts/fuzz on stand-in targets (a copy of the script in a tree of its own, cmake and clang++
# stand-ins on PATH): it tells each target as it starts and as it ends, with its figures, while
# the others still run; gives each the dictionaries its line names, joined; keeps its table and
# totals line; and scripts/lib/summary counts the totals line and never the progress lines.
set -u
here=$(cd "$(dirname "$0")" && pwd)
root="$here/../.."
T=$(mktemp -d); trap 'rm -rf "$T"' EXIT
export T
mkdir -p "$T/scripts" "$T/fuzz" "$T/build-fuzz/bin" "$T/stand-ins" "$T/seen"
cp "$root/scripts/fuzz" "$T/scripts/fuzz"
printf 'a="A"\n' >"$T/fuzz/a.dict"
printf 'b="B"\n' >"$T/fuzz/b.dict"
printf 'alpha 100 a.dict\nbeta 200 a.dict b.dict\ngamma 300\n' >"$T/build-fuzz/targets.txt"
for tool in cmake clang++; do printf '#!/bin/sh\nexit 0\n' >"$T/stand-ins/$tool"; done
# A target: notes the dictionary it was given and what scripts/fuzz had said when it started,
# then prints figures as libFuzzer does (made from its -max_len); gamma finds something.
cat >"$T/build-fuzz/bin/stand-in" <<'TARGET'
#!/usr/bin/env bash
name=${0##*/fuzz_} len=0
: >"$T/seen/$name.dict"
for a; do
  case $a in
    -max_len=*) len=${a#-max_len=} ;;
    -dict=*) cp "${a#-dict=}" "$T/seen/$name.dict" ;;
  esac
done
cp "$T/out" "$T/seen/$name.out"
echo "#$((len * 10)) NEW cov: $((len / 10)) ft: $((len / 5)) corp: 1/1b"
[ "$name" = gamma ] && { echo "==== property failed: the sum is wrong"; exit 1; }
echo "#$((len * 10)) DONE cov: $((len / 10 + 1)) ft: $((len / 5 + 1)) corp: 1/1b"
echo "stat::number_of_executed_units: $((len * 10))"
echo "stat::average_exec_per_sec:     $((len / 2))"
TARGET
chmod +x "$T/stand-ins/"* "$T/build-fuzz/bin/stand-in"
for name in alpha beta gamma; do ln -s stand-in "$T/build-fuzz/bin/fuzz_$name"; done

PATH="$T/stand-ins:$PATH" FUZZ_JOBS=1 bash "$T/scripts/fuzz" 5 >"$T/out" 2>&1
rc=$?
bad=0
expected="fuzz: building the targets in $T/build-fuzz
fuzz: alpha started (1 of 3, 5 s)
fuzz: alpha ended: 1000 runs, 50 exec/s, cov 11, ft 21, ok
fuzz: beta started (2 of 3, 5 s)
fuzz: beta ended: 2000 runs, 100 exec/s, cov 21, ft 41, ok
fuzz: gamma started (3 of 3, 5 s)
fuzz: gamma ended: ? runs, ? exec/s, cov 30, ft 60, FOUND: ==== property failed: the sum is wrong
target               runs   exec/s     cov      ft  result
alpha                1000       50      11      21  ok
beta                 2000      100      21      41  ok
gamma                   ?        ?      30      60  FOUND: ==== property failed: the sum is wrong
fuzz: 3 targets, 5 s each, 1 found something"
if [ "$rc" -eq 0 ] || [ "$(cat "$T/out")" != "$expected" ]; then
  printf 'FAIL: status %s, said:\n%s\nexpected:\n%s\n' "$rc" "$(cat "$T/out")" "$expected"; bad=1
fi
# Told on the way: when beta started, alpha's end had been told already, and beta's start.
if [ "$(cat "$T/seen/beta.out" 2>/dev/null)" != "$(sed -n 1,4p <<<"$expected")" ]; then
  printf 'FAIL: when beta started, scripts/fuzz had said:\n%s\n' "$(cat "$T/seen/beta.out" 2>/dev/null)"; bad=1
fi
for want in "alpha:a=\"A\"" "beta:a=\"A\" b=\"B\"" "gamma:"; do
  name=${want%%:*} got=$(cat "$T/seen/${want%%:*}.dict" 2>/dev/null | tr '\n' ' ')
  [ "${got% }" = "${want#*:}" ] || { echo "FAIL: $name got the dictionary '${got% }', expected '${want#*:}'"; bad=1; }
done
# The totals: two targets passed and one failed; a run cut off after its progress lines (no
# totals line) is one failure, not a pass of the targets it told of.
summary="$root/scripts/lib/summary"
: >"$T/no-tests"
got=$(bash "$summary" "$T/no-tests" 0 "$T/out" "$rc" | tail -1)
[ "$got" = "2 passed, 1 failed, 0 skipped" ] || { echo "FAIL: summary of the run: '$got'"; bad=1; }
sed -n 1,7p "$T/out" >"$T/cut"
got=$(bash "$summary" "$T/no-tests" 0 "$T/cut" 1 | tail -1)
[ "$got" = "0 passed, 1 failed, 0 skipped" ] || { echo "FAIL: summary of a run cut off: '$got'"; bad=1; }
[ "$bad" -eq 0 ] && echo "scripts/fuzz tells its progress and keeps its table"
exit "$bad"
