// Cell operations and the clipboard over every cell of a 256 x 256 16-bit map
// and of the largest map (1024 rows x 2048 columns of 8-bit cells); the cells
// hold two values in a checkerboard, so selecting one value selects every
// other cell.
#include <benchmark/benchmark.h>

#include "cells/cell_operations.h"
#include "cells/clipboard_text.h"
#include "cells/spreadsheet_text.h"
#include "map_cells_fixture.h"

namespace {

struct Bench : TestCells {
    CellSelection selection;
    CellInputs inputs{37, "1", "3.7", {"0", "1.5", "2", "3.5"}, OperationMode::Raw};

    explicit Bench(const benchmark::State& state)
        : TestCells(int(state.range(0)), int(state.range(1)), int(state.range(2)), 0, 0.1, 1),
          selection(int(state.range(0)), int(state.range(1)))
    {
        for (int r = 0; r < cells.rows(); ++r)
            for (int c = 0; c < cells.columns(); ++c)
                cells.setRaw(r, c, (r + c) % 2 ? 100 : 37);
        selection.selectAll();
    }
    CellOperationResult run(CellOperation operation) { return runCellOperation(operation, cells, selection, inputs); }
    std::string copy() const
    {
        return encodeClipboardText(false, false, selection, [this](int r, int c) { return shown(r, c, false); });
    }
};

template <CellOperation operation>
void BM_Operation(benchmark::State& state)
{
    Bench b(state);
    b.inputs.mode = OperationMode::Engineering;   // interpolation reads and writes engineering values
    if (operation == CellOperation::InvertSelection)
        b.run(CellOperation::SelectEqual);
    for (auto _ : state)
        benchmark::DoNotOptimize(b.run(operation));
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
    for (auto _ : state)
        benchmark::DoNotOptimize(pasteClipboardText(text, b.cells));
}

// The whole table as a spreadsheet block, and that block pasted back at the
// first cell (written cells are not redrawn here).
void BM_CopyBlockAll(benchmark::State& state)
{
    Bench b(state);
    TableGridModel model(b.cells);
    model.fill({});
    for (auto _ : state)
        benchmark::DoNotOptimize(encodeSpreadsheetText(b.selection, [&](int r, int c) { return model.text(r, c); }));
}

void BM_PasteBlockAll(benchmark::State& state)
{
    Bench b(state);
    TableGridModel model(b.cells);
    model.fill({});
    const std::string text = encodeSpreadsheetText(b.selection, [&](int r, int c) { return model.text(r, c); });
    for (auto _ : state)
        benchmark::DoNotOptimize(pasteAnyText(text, model, 0, 0));
}

void sizes(benchmark::internal::Benchmark* bench)
{
    bench->Args({256, 256, 16})->Args({1024, 2048, 8})->ArgNames({"rows", "columns", "bits"});
    bench->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
}

BENCHMARK(BM_Operation<CellOperation::SelectEqual>)->Name("BM_SelectEqualCheckerboard")->Apply(sizes);
BENCHMARK(BM_Operation<CellOperation::InvertSelection>)->Name("BM_InvertCheckerboard")->Apply(sizes);
BENCHMARK(BM_Operation<CellOperation::IncrementPercent>)->Name("BM_PercentageStepAll")->Apply(sizes);
BENCHMARK(BM_Operation<CellOperation::Interpolate>)->Name("BM_InterpolateAll")->Apply(sizes);
BENCHMARK(BM_Operation<CellOperation::Statistics>)->Name("BM_StatisticsAll")->Apply(sizes);
BENCHMARK(BM_CopyAll)->Apply(sizes);
BENCHMARK(BM_PasteAll)->Apply(sizes);
BENCHMARK(BM_CopyBlockAll)->Apply(sizes);
BENCHMARK(BM_PasteBlockAll)->Apply(sizes);

} // namespace
