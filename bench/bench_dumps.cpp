// Building and parsing the six bulk dumps of the edit buffer (performance, four voices,
// system). Goal: the whole round trip well under 50 microseconds.
#include <benchmark/benchmark.h>

#include <memory>

#include "core/MainData.h"

namespace {

struct SilentMainData : TMainData {
    void SendSysEx(const uint8_t*, int) override {}
};

std::unique_ptr<SilentMainData> InitialData()
{
    auto main = std::make_unique<SilentMainData>();
    InitNameTables(*main);
    main->InitAll();
    return main;
}

void BuildAll(SilentMainData& main)
{
    main.BuildPerformanceDump(DumpPerformance, 0);
    for (int v = 0; v < 4; ++v) main.BuildVoiceDump(v, 0);
    main.BuildSystemDump();
}

void BM_BuildSixDumps(benchmark::State& state)
{
    auto main = InitialData();
    for (auto _ : state) {
        BuildAll(*main);
        benchmark::DoNotOptimize(main->SystemDumpBuffer.data());
    }
}
BENCHMARK(BM_BuildSixDumps)->Unit(benchmark::kMicrosecond);

void BM_BuildAndParseSixDumps(benchmark::State& state)
{
    auto main = InitialData();
    for (auto _ : state) {
        main->BuildPerformanceDump(DumpPerformance, 0);
        main->BeginReceive(ReceivePerformance, true);
        main->ReceiveBulkDump(main->PerformanceDumpBuffer.data(), main->PerformanceDumpBuffer.size());
        for (int v = 0; v < 4; ++v) {
            main->BuildVoiceDump(v, 0);
            main->BeginReceive(v, true);
            main->ReceiveBulkDump(main->VoiceDumpBuffer.data(), main->VoiceDumpBuffer.size());
        }
        main->BuildSystemDump();
        main->BeginReceive(ReceiveSystem, true);
        main->ReceiveBulkDump(main->SystemDumpBuffer.data(), main->SystemDumpBuffer.size());
        benchmark::DoNotOptimize(main->ParameterData.Bytes());
        if (!main->DumpReceived) state.SkipWithError("a dump was not taken back");
    }
}
BENCHMARK(BM_BuildAndParseSixDumps)->Unit(benchmark::kMicrosecond);

} // namespace
