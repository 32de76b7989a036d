// Undo history on the largest map a 2 MiB image holds (1024 rows x 2048
// columns, 8-bit): undo and redo of a change to every cell, and what 1,000
// one-cell edits cost in memory.
#include <benchmark/benchmark.h>

#include "cells/edit_history.h"
#include "cells/map_cells.h"
#include "test_support.h"

namespace {

constexpr int kRows = 1024;
constexpr int kColumns = 2048;

struct LargestMap {
    MapDefinition map;
    MapCells cells;
    CellSelection selection{kRows, kColumns};
    LargestMap()
    {
        map.axes[AxisX].count = kColumns;
        map.axes[AxisY].count = kRows;
        map.axes[AxisZ].bits = 8;
        map.axes[AxisZ].factor = 1.0;
        cells.map = &map;
        cells.workingCopy = randomBytes(std::size_t(kRows) * kColumns, 3);
        selection.selectAll();
    }
    // A 10 % step over every selected cell, as the percentage step does it.
    void percentageStep()
    {
        selection.forEachSelected([&](int r, int c) {
            const double e = cells.eng(r, c);
            cells.setEng(r, c, e + e * (10.0 / 100));
        });
    }
};

void BM_UndoPercentageStepOnLargestMap(benchmark::State& state)
{
    LargestMap m;
    EditHistory history;
    history.begin(m.cells.workingCopy, m.selection);
    m.percentageStep();
    history.commit(m.cells.workingCopy, m.selection);
    std::vector<ByteRange> touched;
    for (auto _ : state) {
        history.undo(m.cells.workingCopy, m.selection, touched);
        state.PauseTiming();
        history.redo(m.cells.workingCopy, m.selection, touched);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoPercentageStepOnLargestMap)->Unit(benchmark::kMillisecond);

void BM_RedoPercentageStepOnLargestMap(benchmark::State& state)
{
    LargestMap m;
    EditHistory history;
    history.begin(m.cells.workingCopy, m.selection);
    m.percentageStep();
    history.commit(m.cells.workingCopy, m.selection);
    std::vector<ByteRange> touched;
    for (auto _ : state) {
        state.PauseTiming();
        history.undo(m.cells.workingCopy, m.selection, touched);
        state.ResumeTiming();
        history.redo(m.cells.workingCopy, m.selection, touched);
    }
}
BENCHMARK(BM_RedoPercentageStepOnLargestMap)->Unit(benchmark::kMillisecond);

// Recording the step itself (note, change, compare) for the same change.
void BM_RecordPercentageStepOnLargestMap(benchmark::State& state)
{
    LargestMap m;
    EditHistory history;
    for (auto _ : state) {
        history.begin(m.cells.workingCopy, m.selection);
        m.percentageStep();
        history.commit(m.cells.workingCopy, m.selection);
    }
}
BENCHMARK(BM_RecordPercentageStepOnLargestMap)->Unit(benchmark::kMillisecond);

// Memory of the history after 1,000 one-cell edits, each on its own selected cell.
void BM_HistoryMemoryAfter1000OneCellEdits(benchmark::State& state)
{
    LargestMap m;
    std::size_t used = 0;
    for (auto _ : state) {
        EditHistory history;
        for (int i = 0; i < 1000; ++i) {
            const int row = (i * 37) % kRows;
            const int column = (i * 101) % kColumns;
            m.selection.clear();
            m.selection.set(row, column);
            history.begin(m.cells.workingCopy, m.selection);
            m.cells.setRaw(row, column, m.cells.raw(row, column) + 1);
            history.commit(m.cells.workingCopy, m.selection);
        }
        used = history.memoryUsed();
    }
    state.counters["history_bytes"] = static_cast<double>(used);
}
BENCHMARK(BM_HistoryMemoryAfter1000OneCellEdits)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
