// Redisplaying every performance page from the edit buffer (after a load, a receive or an
// initialize), headless, on the real main window.
#include "bench/BenchWindow.h"

#include <benchmark/benchmark.h>

static void BM_RefreshPerformancePages(benchmark::State& state)
{
    TBenchWindow window;
    TMainForm& form = *window.Form;
    // Alternate two buffers, so that every control really changes on every pass.
    TParameterData first = form.ParameterData;
    TParameterData second = first;
    for (PfmPart& part : second.PfmParts) {
        part.BankNum = 3;
        part.Formant = 20;
        part.FilterSw = 1;
        part.Pan = 0;
    }
    second.PfmCommon.Volume = 10;
    bool flip = false;
    for (auto _ : state) {
        form.ParameterData = flip ? first : second;
        flip = !flip;
        form.RefreshPerformancePages();
    }
}
BENCHMARK(BM_RefreshPerformancePages)->Unit(benchmark::kMicrosecond);
