// Building the main window headless: the controls, the 88 algorithm pictures decoded from the
// program folder, the catalogue and the initial data.
#include "mainform/MainForm.h"
#include "mainform/Pictures.h"
#include "platform/Folders.h"
#include "platform/MidiInProcess.h"

#include <benchmark/benchmark.h>

static void BM_MainFormConstruction(benchmark::State& state)
{
    InstallPictureDecoders();
    platform::InProcessMidi midi;
    const auto folder = platform::ProgramFolder();
    for (auto _ : state) {
        auto form = std::make_unique<TMainForm>(nullptr, midi, folder);
        benchmark::DoNotOptimize(form.get());
    }
}
BENCHMARK(BM_MainFormConstruction)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
