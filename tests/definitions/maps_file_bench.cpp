// 256 maps whose three axes are all "Manual" with 256 labels, about 200,000
// label elements (the largest file of 256 maps). Its labels are numbers as a
// tuner types them (six decimals at most), which are written in six
// decimals; a second file holds computed labels, half of which need up to 17
// digits to read back the same. A file of 10,000 maps with three axes of 16
// labels each, and the heap its store holds. And the files the XML input
// guard makes the parser work hardest on: the most nodes it lets through
// (plain empty elements, the dearest per unit of work), the same in a file as
// large as the 10,000 maps, and a file of the first one's bulk refused only
// at its very end.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include <malloc.h>

#include "common/xml_guard.h"
#include "definitions/maps_file.h"
#include "test_support.h"

namespace {

std::unique_ptr<DefinitionStore> largestStore(bool computedLabels = false)
{
    auto store = std::make_unique<DefinitionStore>();
    store->mapCount = 256;
    for (int m = 0; m < 256; ++m) {
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

// `maps` maps, three Manual axes of 16 labels each.
std::unique_ptr<DefinitionStore> storeOf(int maps)
{
    auto store = std::make_unique<DefinitionStore>();
    store->mapCount = static_cast<std::uint16_t>(maps);
    for (int m = 0; m < maps; ++m) {
        MapDefinition& map = store->maps[m];
        map.title = "Map " + std::to_string(m);
        map.description = "Ignition advance over engine speed and load";
        for (auto& axis : map.axes) {
            axis.address = static_cast<std::uint32_t>(0x10000 + 64 * m);
            axis.bits = 16;
            axis.units = "RPM";
            axis.count = 16;
            axis.embeddedinfotype = SourceManual;
            axis.factor = 0.01;
            axis.offset = -40;
            for (int i = 0; i < 16; ++i)
                axis.labels[i] = 500 + 375 * i;
        }
    }
    return store;
}

void BM_SaveMapsFile(benchmark::State& state)
{
    const auto store = storeOf(static_cast<int>(state.range(0)));
    TempDir dir;
    for (auto _ : state)
        if (saveMapsFile(*store, dir.file("maps.xts")) != MapsFileStatus::Saved)
            state.SkipWithError("save failed");
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(dir.file("maps.xts")));
}
BENCHMARK(BM_SaveMapsFile)->Arg(10000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();

// Into a store that held nothing, as at start-up: the slots and labels are
// allocated as the file fills them.
void BM_LoadMapsFile(benchmark::State& state)
{
    const int maps = static_cast<int>(state.range(0));
    TempDir dir;
    saveMapsFile(*storeOf(maps), dir.file("maps.xts"));
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<DefinitionStore>();
        state.ResumeTiming();
        if (loadMapsFile(*store, dir.file("maps.xts")) != MapsFileStatus::Loaded || store->mapCount != maps)
            state.SkipWithError("load failed");
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(dir.file("maps.xts")));
}
BENCHMARK(BM_LoadMapsFile)->Arg(10000)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly();

double heapMB()
{
    return double(mallinfo2().uordblks) / (1024.0 * 1024.0);
}

// The heap a store holds once a file is loaded (the parsed document freed):
// argument 0 the 256 maps of 256 labels, else that many maps of 16 labels.
void BM_StoreMemory(benchmark::State& state)
{
    const int maps = static_cast<int>(state.range(0));
    TempDir dir;
    saveMapsFile(maps == 0 ? *largestStore() : *storeOf(maps), dir.file("maps.xts"));
    double held = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const double before = heapMB();
        auto store = std::make_unique<DefinitionStore>();
        if (!mapsFileLoaded(loadMapsFile(*store, dir.file("maps.xts"))))
            state.SkipWithError("load failed");
        held = heapMB() - before;
    }
    state.counters["store_MB"] = held;
}
BENCHMARK(BM_StoreMemory)->Arg(0)->Arg(256)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);

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
// finds one level too deep. `padding` bytes of comment make the file larger,
// which lets it hold more elements.
std::string guardWorstCase(bool refusedAtEnd, std::size_t padding = 0)
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
    const std::string comment = padding > 0 ? "<!--" + std::string(padding, ' ') + "-->" : "";
    if (padding > 0)
        work += 33;   // the comment is a node in the root
    const std::size_t fixed = head.size() + comment.size() + tail.size() + 6;
    const auto fits = [&](std::size_t n) { return work + 33 * n <= 32 * xmlWorkLimit(fixed + 4 * n); };
    std::size_t leaves = 0;
    for (std::size_t step = std::size_t{1} << 26; step > 0; step /= 2) {
        if (fits(leaves + step))
            leaves += step;
    }
    std::string text = head + comment;
    text.reserve(fixed + 4 * leaves);
    for (std::size_t i = 0; i < leaves; ++i)
        text += "<a/>";
    return text + tail + "</XTS>";
}

void loadGuardWorstCase(benchmark::State& state, bool refused, std::size_t padding = 0)
{
    TempDir dir;
    writeText(dir.file("worst.xts"), guardWorstCase(refused, padding));
    auto store = std::make_unique<DefinitionStore>();
    const MapsFileStatus expected = refused ? MapsFileStatus::Unreadable : MapsFileStatus::Loaded;
    for (auto _ : state)
        if (loadMapsFile(*store, dir.file("worst.xts")) != expected)
            state.SkipWithError("unexpected outcome");
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(dir.file("worst.xts")));
}

// Argument: the comment's bytes (36 MB make the file as large as the 10,000 maps).
void BM_LoadWorstAcceptedMapsFile(benchmark::State& state)
{
    loadGuardWorstCase(state, false, static_cast<std::size_t>(state.range(0)));
}
BENCHMARK(BM_LoadWorstAcceptedMapsFile)->Arg(0)->Arg(36'000'000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_LoadWorstRefusedMapsFile(benchmark::State& state)
{
    loadGuardWorstCase(state, true);
}
BENCHMARK(BM_LoadWorstRefusedMapsFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
