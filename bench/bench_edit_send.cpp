// One edit on the program's own road, headless: a person drags the part volume slider of the
// performance part page (UserScrollsTo), its handler stores the value, shows it in its box,
// sends the parameter change through SendSysEx and the MIDI transport to the in-process port.
#include "bench/BenchWindow.h"

#include <benchmark/benchmark.h>

namespace {

void BM_EditToPort(benchmark::State& state)
{
    TBenchWindow window;
    window.ShowPart(0);
    TScrollBar& volume = window.Control<TScrollBar>("Pfm_Part_VolumeBar");

    // Once, outside the timed loop: the move reaches the instrument as part 1's volume change.
    window.TakeSysEx();
    if (!volume.UserScrollsTo(100) || window.Form->ParameterData.PfmParts[0].Volume != 100) {
        state.SkipWithError("the drag did not store the part volume");
        return;
    }
    if (const std::string wrong = window.PartOneVolumeArrived(); !wrong.empty()) {
        state.SkipWithError(wrong.c_str());
        return;
    }

    // Two positions in turn, so that every drag really changes the value and sends.
    int to = 100;
    std::size_t sent = 0;
    for (auto _ : state) {
        to = to == 100 ? 101 : 100;
        volume.UserScrollsTo(to);
        // Keep the port's record small so the loop measures the edit, not a growing log.
        if (++sent % 4096 == 0) {
            state.PauseTiming();
            window.Instrument->ClearReceived();
            state.ResumeTiming();
        }
    }
    if (window.Form->ParameterData.PfmParts[0].Volume != to) state.SkipWithError("a drag was not stored");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_EditToPort);

} // namespace
