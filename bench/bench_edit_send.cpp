// One edit's cost from a stored value to the message handed to the MIDI port: copy the
// prepared 10-byte parameter change, write the value, SendSysEx through the transport.

#include "core/transport/MidiTransport.h"
#include "platform/MidiInProcess.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstring>

namespace {

// The part volume parameter change of part 1 (F0 43 1n 5E 30 00 0B 00 vv F7).
constexpr std::array<std::uint8_t, 10> VolumeTemplate = {0xF0, 0x43, 0x10, 0x5E, 0x30, 0x00, 0x0B, 0x00, 0x00, 0xF7};

void BM_EditToPort(benchmark::State& state)
{
    platform::InProcessMidi midi;
    auto instrument = midi.AddDevice("FS1R");
    TMidiTransport transport(midi);
    transport.OpenMidiPorts(0, 0, -1);

    std::int32_t storedValue = 0;
    std::size_t sent = 0;
    for (auto _ : state) {
        storedValue = (storedValue + 1) & 0x7F;
        std::uint8_t message[10];
        std::memcpy(message, VolumeTemplate.data(), sizeof message);
        message[8] = static_cast<std::uint8_t>(storedValue);
        transport.SendSysEx(message, sizeof message, 3);
        // Keep the port's record small so the loop measures the send, not a growing log.
        if (++sent % 4096 == 0) {
            state.PauseTiming();
            instrument->ClearReceived();
            state.ResumeTiming();
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EditToPort);

}  // namespace
