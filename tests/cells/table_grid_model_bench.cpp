// The grid model's passes over every cell, without a display: a fill (the
// heart of opening and of every view switch), redrawing a mask of cells, and
// formatting one screenful of texts.
#include <benchmark/benchmark.h>

#include "cells/cell_selection.h"
#include "cells/table_grid_model.h"
#include "map_cells_fixture.h"
#include "test_support.h"

namespace {

// Random cells (x 0.1, one place), compared with an image holding the same.
struct Table : TestCells {
    RomBuffer compare;
    Table(int rows, int columns, int bits) : TestCells(rows, columns, bits, 0, 0.1, 1)
    {
        cells.workingCopy = randomBytes(cells.workingCopy.size(), 5);
        compare.data = cells.workingCopy;
        compare.size = static_cast<std::int32_t>(compare.data.size());
        cells.compareBuffer = &compare;
    }
};

// Size (0: 256 x 256 16-bit, 1: 1024 x 2048 8-bit), view (0 engineering, 1 raw, 2 engineering difference).
void BM_ModelFill(benchmark::State& state)
{
    Table table = state.range(0) ? Table(1024, 2048, 8) : Table(256, 256, 16);
    TableGridModel model(table.cells);
    const TableView views[3] = {{false, false, true}, {true, false, false}, {false, true, true}};
    for (auto _ : state)
        model.fill(views[state.range(1)]);
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * table.cells.cellCount()));
}
BENCHMARK(BM_ModelFill)->ArgNames({"largest", "view"})->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

void BM_ModelRedrawCheckerboard(benchmark::State& state)
{
    Table table(1024, 2048, 8);
    TableGridModel model(table.cells);
    model.fill({});
    CellSelection mask(1024, 2048);
    for (int col = 0; col < 2048; ++col)
        for (int row = col % 2; row < 1024; row += 2)
            mask.set(row, col);
    for (auto _ : state)
        model.redrawCells(mask);
}
BENCHMARK(BM_ModelRedrawCheckerboard)->Unit(benchmark::kMillisecond);

// About what one paint of a large window asks for: 40 rows x 20 columns.
void BM_ModelScreenful(benchmark::State& state)
{
    Table table(1024, 2048, 8);
    TableGridModel model(table.cells);
    model.fill({false, false, true});
    for (auto _ : state)
        for (int row = 0; row < 40; ++row)
            for (int col = 0; col < 20; ++col) {
                benchmark::DoNotOptimize(model.text(row, col));
                benchmark::DoNotOptimize(model.look(row, col));
            }
}
BENCHMARK(BM_ModelScreenful)->Unit(benchmark::kMicrosecond);

} // namespace
