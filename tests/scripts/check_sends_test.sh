#!/usr/bin/env bash
# scripts/lib/check-sends: the checkout passes; a send with an address of its own, a prepared
# message or a frame written outside core/ fails it, each where it stands; comments, core/ and the
# MIDI file writer do not.
set -u
here=$(cd "$(dirname "$0")" && pwd)
check="$here/../../scripts/lib/check-sends"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
bad=0
bash "$check" >/dev/null || { echo "FAIL: the checkout does not pass"; bad=1; }

mkdir -p "$tmp/voice" "$tmp/core" "$tmp/mainform"
cat >"$tmp/voice/Planted.cpp" <<'CODE'
// Sends F0 43 10 5E 30 00 0B by hand: 0xF0, 0x43 in a comment is no frame.
void Mute(TMainData& d, int p)
{
    d.SendSysEx(ParameterChangeTemplate(0x30, 0x00,
                                        0x0B).data(), 10);
    d.SendWordAt(PartVolumeAL);
    const uint8_t m[] = {0xF0, 0x43, 0x10, 0x5E, 0x30, 0x00, 0x0B, 0x00, 0x00, 0xF7};
}
CODE
cp "$tmp/voice/Planted.cpp" "$tmp/core/Planted.cpp"
printf 'void Write() { FBytes.push_back(0xF0); }\n' >"$tmp/mainform/SmfExport.cpp"
out=$(bash "$check" "$tmp"); rc=$?
expected="voice/Planted.cpp:4: SendSysEx takes the address ParameterChangeTemplate
voice/Planted.cpp:6: SendWordAt takes the address PartVolumeAL
voice/Planted.cpp:7: a system-exclusive frame written by hand"
if [ "$rc" -eq 0 ] || [ "$out" != "$expected" ]; then
  printf 'FAIL: status %s, said:\n%s\nexpected:\n%s\n' "$rc" "$out" "$expected"; bad=1
fi
[ "$bad" -eq 0 ] && echo "check-sends holds"
exit "$bad"
