// The program's ports over a JACK server, in the server's cycles and in time: what the tests over
// JACK wait for and never time (tests/transport), measured here.
// - BM_JackOpenAndClose: opening the instrument's input and output (each waits until what it
//   carries crosses the server), a parameter change sent, and closing both (the output waits
//   until what was sent last has gone out).
// - BM_JackKeyboardThru: a note played on the master keyboard until it reaches the instrument.
// - BM_JackAfterTheServerWent: forty sends of 4,000 bytes, then closing both ports, after the
//   server was killed (a server of its own, started again for each iteration).
// The cycles are counted by a client of the benchmark's own on the far end: 256 frames at 48 kHz
// on the test scripts' server, 5.3 ms each, which run with the clock whatever the load. Every
// counter ending in "_waits_run_out" must be 0 (platform::JackClient::WaitsRunOut: a wait that
// ran out its patience).
// Needs a JACK server named in QM_JACK_SERVER (see bench/RESULTS.md for how to start one).
#include "tests/support/JackPorts.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <csignal>

namespace {

using Bytes = std::vector<std::uint8_t>;

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

void BM_JackOpenAndClose(benchmark::State& state)
{
    if (const char* missing = JackServerMissing()) return state.SkipWithError(missing);
    JackFarEnd far("bench-ports");
    if (!far.Trouble().empty()) return state.SkipWithError(far.Trouble().c_str());
    auto backend = platform::CreateMidiBackend(EditorClientName());
    TMidiTransport transport(*backend);
    const int runOut = platform::JackClient::WaitsRunOut();
    double openCycles = 0, closeCycles = 0, openMs = 0, closeMs = 0, mostOpen = 0, mostClose = 0;
    for (auto _ : state) {
        const std::uint64_t start = far.Cycles();
        const auto startAt = Clock::now();
        if (!far.Connect(transport)) return state.SkipWithError("the far end's ports are not listed");
        const std::uint64_t opened = far.Cycles();
        const auto openedAt = Clock::now();
        transport.SendSysEx(JackTestChange.data(), int(JackTestChange.size()), 0);
        transport.CloseMidiIn();
        transport.CloseMidiOut();
        const std::uint64_t closed = far.Cycles();
        const auto closedAt = Clock::now();
        // The change and the 16 notes-off of the close.
        if (far.Received.WaitFor(17).size() < 17) return state.SkipWithError("what was sent did not all arrive");
        far.Received.Take();
        openCycles += double(opened - start);
        closeCycles += double(closed - opened);
        mostOpen = std::max(mostOpen, double(opened - start));
        mostClose = std::max(mostClose, double(closed - opened));
        openMs += Milliseconds(openedAt - startAt);
        closeMs += Milliseconds(closedAt - openedAt);
    }
    using C = benchmark::Counter;
    state.counters["open_cycles"] = C(openCycles, C::kAvgIterations);
    state.counters["close_cycles"] = C(closeCycles, C::kAvgIterations);
    state.counters["open_cycles_most"] = mostOpen;
    state.counters["close_cycles_most"] = mostClose;
    state.counters["open_ms"] = C(openMs, C::kAvgIterations);
    state.counters["close_ms"] = C(closeMs, C::kAvgIterations);
    double cycleMs = 0;
    far.WithHandle([&](jack_client_t* h) { cycleMs = 1000.0 * jack_get_buffer_size(h) / jack_get_sample_rate(h); });
    state.counters["cycle_ms"] = cycleMs;
    state.counters["open_close_waits_run_out"] = platform::JackClient::WaitsRunOut() - runOut;
}
BENCHMARK(BM_JackOpenAndClose)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JackKeyboardThru(benchmark::State& state)
{
    if (const char* missing = JackServerMissing()) return state.SkipWithError(missing);
    JackFarEnd instrument("bench-fs1r");
    JackFarEnd keys("bench-keys");
    if (const std::string trouble = instrument.Trouble() + keys.Trouble(); !trouble.empty())
        return state.SkipWithError(trouble.c_str());
    auto backend = platform::CreateMidiBackend(EditorClientName());
    TMidiTransport transport(*backend);
    const auto inputs = transport.InputNames();
    const auto outputs = transport.OutputNames();
    auto index = [](const std::vector<std::string>& names, const std::string& name) {
        const auto at = std::find(names.begin(), names.end(), name);
        return at == names.end() ? -1 : int(at - names.begin());
    };
    const int in = index(inputs, instrument.OutPort()), out = index(outputs, instrument.InPort()),
              keyboard = index(inputs, keys.OutPort());
    if (in < 0 || out < 0 || keyboard < 0) return state.SkipWithError("the far ends' ports are not listed");
    transport.OpenMidiPorts(in, out, keyboard);
    double cycles = 0, most = 0;
    std::uint8_t note = 0;
    for (auto _ : state) {
        const std::uint64_t start = instrument.Cycles();
        keys.Send({0x90, note, 0x40});
        if (instrument.Received.WaitFor(1).empty()) return state.SkipWithError("a note was not played through");
        const double took = double(instrument.Cycles() - start);
        instrument.Received.Take();
        cycles += took;
        most = std::max(most, took);
        note = std::uint8_t((note + 1) & 0x7F);
    }
    transport.CloseMidiIn();
    transport.CloseMidiOut();
    using C = benchmark::Counter;
    state.counters["thru_cycles"] = C(cycles, C::kAvgIterations);
    state.counters["thru_cycles_most"] = most;
}
BENCHMARK(BM_JackKeyboardThru)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_JackAfterTheServerWent(benchmark::State& state)
{
    if (const char* missing = JackServerMissing()) return state.SkipWithError(missing);
    double sendsMs = 0, closeMs = 0, mostSends = 0, mostClose = 0;
    const int runOut = platform::JackClient::WaitsRunOut();
    const Bytes big = JackTestSysex(4000, 0x00, 1);
    for (auto _ : state) {
        state.PauseTiming();
        double sends = 0, close = 0;
        {
            PrivateJackServer server;
            if (!server.Trouble().empty()) return state.SkipWithError(server.Trouble().c_str());
            JackFarEnd far("bench-gone");
            if (!far.Trouble().empty()) return state.SkipWithError(far.Trouble().c_str());
            auto backend = platform::CreateMidiBackend(EditorClientName());
            TMidiTransport transport(*backend);
            if (!far.Connect(transport)) return state.SkipWithError("the far end's ports are not listed");
            server.Stop(SIGKILL);
            // The port learns of the loss a moment later: from the first send that fails.
            const auto deadline = Clock::now() + JackPatience;
            bool failing = false;
            while (!failing && Clock::now() < deadline) {
                try {
                    transport.SendSysEx(JackTestChange.data(), int(JackTestChange.size()), 0);
                } catch (const EMidiError&) {
                    failing = true;
                }
            }
            if (!failing) return state.SkipWithError("the sends did not learn that the server went");
            state.ResumeTiming();
            const auto start = Clock::now();
            int failed = 0;
            for (int i = 0; i < 40; ++i) {
                try {
                    transport.SendSysEx(big.data(), int(big.size()), 0);
                } catch (const EMidiError&) {
                    ++failed;
                }
            }
            const auto sent = Clock::now();
            transport.CloseMidiIn();
            transport.CloseMidiOut();
            const auto closed = Clock::now();
            state.PauseTiming();
            if (failed != 40) return state.SkipWithError("a send after the server went did not fail");
            sends = Milliseconds(sent - start);
            close = Milliseconds(closed - sent);
        }
        sendsMs += sends;
        closeMs += close;
        mostSends = std::max(mostSends, sends);
        mostClose = std::max(mostClose, close);
        state.ResumeTiming();
    }
    using C = benchmark::Counter;
    state.counters["forty_sends_ms"] = C(sendsMs, C::kAvgIterations);
    state.counters["forty_sends_ms_most"] = mostSends;
    state.counters["close_ms"] = C(closeMs, C::kAvgIterations);
    state.counters["close_ms_most"] = mostClose;
    state.counters["gone_waits_run_out"] = platform::JackClient::WaitsRunOut() - runOut;
}
BENCHMARK(BM_JackAfterTheServerWent)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

} // namespace
