// The differences list over two 2 MiB images and 256 maps of 4,096 16-bit
// cells that cover them whole: the comparison and every row's texts, as the
// list window computes them.
#include <benchmark/benchmark.h>

#include <memory>

#include "cells/image_differences.h"
#include "test_support.h"

namespace {

std::unique_ptr<DefinitionStore> fullStore()
{
    auto store = std::make_unique<DefinitionStore>();
    store->mapCount = 256;
    for (int slot = 0; slot < 256; ++slot) {
        MapDefinition& map = store->maps[slot];
        map.title = "Map " + std::to_string(slot);
        map.axes[AxisX].count = 64;
        map.axes[AxisY].count = 64;
        AxisDefinition& z = map.axes[AxisZ];
        z.address = static_cast<std::uint32_t>(slot * 8192);
        z.bits = 16;
        z.flags = AxisSigned;
        z.factor = 0.1;
        z.decimalpl = 1;
        z.units = "deg";
    }
    return store;
}

// 0: every byte differs; 1: one byte differs (inside a map's cells).
void BM_ImageDifferences(benchmark::State& state)
{
    const auto store = fullStore();
    const std::vector<std::uint8_t> first = randomBytes(0x200000, 3);
    std::vector<std::uint8_t> second = first;
    if (state.range(0) == 0)
        for (std::uint8_t& b : second)
            b = static_cast<std::uint8_t>(~b);
    else
        second[0x123457] ^= 1;
    const auto keep = [](const std::string& text) { return text; };
    std::size_t rows = 0;
    for (auto _ : state) {
        const ImageDifferences differences = compareImages(first, second, *store);
        for (std::size_t row = 0; row < differences.rowCount(); ++row)
            for (int column = 0; column < kDifferenceColumns; ++column)
                benchmark::DoNotOptimize(differenceCellText(differences, row, column).compose(keep));
        benchmark::DoNotOptimize(differencesSummary(differences).compose(keep));
        rows = differences.rowCount();
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_ImageDifferences)->ArgName("oneByte")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
