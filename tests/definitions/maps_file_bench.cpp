// The largest maps file: 256 maps whose three axes are all "Manual" with 256
// labels, about 200,000 label elements. Its labels are numbers as a tuner
// types them (six decimals at most), which are written in six decimals; a
// second file holds computed labels, half of which need up to 17 digits to
// read back the same. And the files the XML input guard
// makes the parser work hardest on: the most nodes it lets through (plain
// empty elements, the dearest per unit of work), and a file of the same bulk
// refused only at its very end.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "common/xml_guard.h"
#include "definitions/maps_file.h"
#include "test_support.h"

namespace {

std::unique_ptr<DefinitionStore> largestStore(bool computedLabels = false)
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
            for (int i = 0; i < kMaxLabels; ++i) {
                const double label = i * 12.345678 - 1000;
                axis.labels[i] = computedLabels ? label : std::round(label * 1e6) / 1e6;
            }
        }
    }
    return store;
}

// Argument 1: the computed labels.
void BM_SaveLargestMapsFile(benchmark::State& state)
{
    const auto store = largestStore(state.range(0) == 1);
    TempDir dir;
    for (auto _ : state)
        if (saveMapsFile(*store, dir.file("largest.xts")) != MapsFileStatus::Saved)
            state.SkipWithError("save failed");
}
BENCHMARK(BM_SaveLargestMapsFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_LoadLargestMapsFile(benchmark::State& state)
{
    TempDir dir;
    saveMapsFile(*largestStore(state.range(0) == 1), dir.file("largest.xts"));
    auto store = std::make_unique<DefinitionStore>();
    for (auto _ : state)
        if (loadMapsFile(*store, dir.file("largest.xts")) != MapsFileStatus::Loaded)
            state.SkipWithError("load failed");
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(dir.file("largest.xts")));
}
BENCHMARK(BM_LoadLargestMapsFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// A file with a byte order mark in a text, so that the guard reads it in all
// three ways (files in a legacy code page reach it decoded to UTF-8, which
// every reading steps over alike), filled with empty elements up to the work
// limit. `refusedAtEnd` puts last an element that only the UTF-8 reading
// finds one level too deep.
std::string guardWorstCase(bool refusedAtEnd)
{
    const std::string head = "<XTS version=\"1.0\"><HEADER><title>\xEF\xBB\xBFra</title></HEADER>";
    std::size_t work = 32 + 32 + 33 + 34 + 35;   // in 32nds of a node: root, version, HEADER, title, text
    std::string tail;
    if (refusedAtEnd) {
        std::size_t depth = 1;
        for (; depth < kXmlMaxDepth - 1; ++depth) {
            tail += "<a>";
            work += 32 + depth;
        }
        // Byte by byte, the mark in b's end tag stops the reading; as UTF-8
        // it is a blank, b closes, and d below c is one level too deep.
        tail += "<b></b\xEF\xBB\xBF><c><d/></c>";
        work += 3 * (32 + depth + 1);
        for (depth = 1; depth < kXmlMaxDepth - 1; ++depth)
            tail += "</a>";
    }
    const std::size_t leaves = (32 * kXmlMaxWork - work) / 33;
    std::string text = head;
    text.reserve(head.size() + 4 * leaves + tail.size() + 6);
    for (std::size_t i = 0; i < leaves; ++i)
        text += "<a/>";
    return text + tail + "</XTS>";
}

void loadGuardWorstCase(benchmark::State& state, bool refused)
{
    TempDir dir;
    writeText(dir.file("worst.xts"), guardWorstCase(refused));
    auto store = std::make_unique<DefinitionStore>();
    const MapsFileStatus expected = refused ? MapsFileStatus::Unreadable : MapsFileStatus::Loaded;
    for (auto _ : state)
        if (loadMapsFile(*store, dir.file("worst.xts")) != expected)
            state.SkipWithError("unexpected outcome");
}

void BM_LoadWorstAcceptedMapsFile(benchmark::State& state)
{
    loadGuardWorstCase(state, false);
}
BENCHMARK(BM_LoadWorstAcceptedMapsFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_LoadWorstRefusedMapsFile(benchmark::State& state)
{
    loadGuardWorstCase(state, true);
}
BENCHMARK(BM_LoadWorstRefusedMapsFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
