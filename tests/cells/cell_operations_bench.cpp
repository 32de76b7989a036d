// Cell operations, clipboard copy and paste over every cell of a 256 x 256
// 16-bit map and of the largest map (1024 rows x 2048 columns of 8-bit
// cells), with a checkerboard selection where the operation selects.
#include <benchmark/benchmark.h>

#include "cells/cell_operations.h"
#include "cells/clipboard_text.h"
#include "map_cells_fixture.h"

namespace {

struct Bench {
    std::unique_ptr<MapDefinition> map;
    MapCells cells;
    CellSelection selection;
    CellInputs inputs;

    explicit Bench(const benchmark::State& state)
    {
        const int rows = static_cast<int>(state.range(0));
        const int columns = static_cast<int>(state.range(1));
        map = makeMap(rows, columns, static_cast<int>(state.range(2)), 0, 0.1, 0.0, 1);
        cells = makeCells(*map);
        // Two values in a checkerboard.
        for (int row = 0; row < rows; ++row)
            for (int column = 0; column < columns; ++column)
                cells.setRaw(row, column, (row + column) % 2 ? 100 : 37);
        selection.resize(rows, columns);
        selection.selectAll();
        inputs.rawValue = 37;
        inputs.percentText = "1";
        inputs.engineeringText = "3.7";
        inputs.cornerTexts = {"0", "1.5", "2", "3.5"};
    }
    CellOperationResult run(CellOperation operation) { return runCellOperation(operation, cells, selection, inputs); }
    std::string copy() const
    {
        return encodeClipboardText(false, false, selection,
                                   [this](int row, int column) { return shownText(cells, row, column, false); });
    }
};

void BM_SelectEqualCheckerboard(benchmark::State& state)
{
    Bench b(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(b.run(CellOperation::SelectEqual));
}

void BM_Invert(benchmark::State& state)
{
    Bench b(state);
    b.run(CellOperation::SelectEqual);
    for (auto _ : state)
        benchmark::DoNotOptimize(b.run(CellOperation::InvertSelection));
}

void BM_PercentageStepAll(benchmark::State& state)
{
    Bench b(state);
    bool up = true;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            b.run(up ? CellOperation::IncrementPercent : CellOperation::DecrementPercent));
        up = !up;
    }
}

void BM_InterpolateAllEngineering(benchmark::State& state)
{
    Bench b(state);
    b.inputs.mode = OperationMode::Engineering;
    for (auto _ : state)
        benchmark::DoNotOptimize(b.run(CellOperation::Interpolate));
}

void BM_StatisticsAll(benchmark::State& state)
{
    Bench b(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(b.run(CellOperation::Statistics));
}

void BM_CopyAll(benchmark::State& state)
{
    Bench b(state);
    for (auto _ : state)
        benchmark::DoNotOptimize(b.copy());
}

void BM_PasteAll(benchmark::State& state)
{
    Bench b(state);
    const std::string text = b.copy();
    state.counters["bytes"] = static_cast<double>(text.size());
    for (auto _ : state)
        benchmark::DoNotOptimize(pasteClipboardText(text, b.cells));
}

void sizes(benchmark::internal::Benchmark* bench)
{
    bench->Args({256, 256, 16})->Args({1024, 2048, 8});
    bench->ArgNames({"rows", "columns", "bits"});
    bench->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_SelectEqualCheckerboard)->Apply(sizes);
BENCHMARK(BM_Invert)->Apply(sizes);
BENCHMARK(BM_PercentageStepAll)->Apply(sizes);
BENCHMARK(BM_InterpolateAllEngineering)->Apply(sizes);
BENCHMARK(BM_StatisticsAll)->Apply(sizes);
BENCHMARK(BM_CopyAll)->Apply(sizes);
BENCHMARK(BM_PasteAll)->Apply(sizes);

} // namespace
