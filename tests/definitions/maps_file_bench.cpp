// The largest maps file: 256 maps whose three axes are all "Manual" with 256
// labels, about 200,000 label elements.
#include <benchmark/benchmark.h>

#include <memory>

#include "definitions/maps_file.h"
#include "test_support.h"

namespace {

std::unique_ptr<DefinitionStore> largestStore()
{
    auto store = std::make_unique<DefinitionStore>();
    store->mapCount = kMaxMaps;
    for (int m = 0; m < kMaxMaps; ++m) {
        MapDefinition& map = store->maps[m];
        map.title = "Map " + std::to_string(m);
        map.description = "Largest definition set";
        for (auto& axis : map.axes) {
            axis.bits = 16;
            axis.units = "°C";
            axis.count = kMaxLabels;
            axis.embeddedinfotype = SourceManual;
            axis.factor = 0.01;
            axis.offset = -40;
            for (int i = 0; i < kMaxLabels; ++i)
                axis.labels[i] = i * 12.345678 - 1000;
        }
    }
    return store;
}

void BM_SaveLargestMapsFile(benchmark::State& state)
{
    const auto store = largestStore();
    TempDir dir;
    for (auto _ : state)
        if (saveMapsFile(*store, dir.file("largest.xts")) != MapsFileStatus::Saved)
            state.SkipWithError("save failed");
}
BENCHMARK(BM_SaveLargestMapsFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_LoadLargestMapsFile(benchmark::State& state)
{
    TempDir dir;
    saveMapsFile(*largestStore(), dir.file("largest.xts"));
    auto store = std::make_unique<DefinitionStore>();
    for (auto _ : state)
        if (loadMapsFile(*store, dir.file("largest.xts")) != MapsFileStatus::Loaded)
            state.SkipWithError("load failed");
}
BENCHMARK(BM_LoadLargestMapsFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
