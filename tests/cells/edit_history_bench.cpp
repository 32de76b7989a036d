// Undo history on the largest map a 2 MiB image holds (1024 rows x 2048
// columns, 8-bit): undo and redo of a percentage step over every cell, as the
// editor does them (bytes and selection put back, the touched cells found and
// marked for redrawing), and what 1,000 one-cell edits cost in memory.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <memory>
#include <vector>

#include "cells/cell_operations.h"
#include "cells/edit_history.h"
#include "cells/table_grid_model.h"
#include "cells/touched_cells.h"
#include "map_cells_fixture.h"
#include "test_support.h"

namespace {

constexpr int kRows = 1024;
constexpr int kColumns = 2048;

struct LargestMap : TestCells {
    CellSelection selection{kRows, kColumns};
    TableGridModel model{cells};
    EditHistory history;
    std::vector<ByteRange> touched;
    LargestMap() : TestCells(kRows, kColumns, 8)
    {
        cells.workingCopy = randomBytes(std::size_t(kRows) * kColumns, 3);
        model.fill(TableView{});
        selection.selectAll();
    }
    // One recorded percentage step of 10 % over every cell, up and down by
    // turns, so that the cells neither run into their limit nor wrap.
    bool up = true;
    void percentageStep()
    {
        CellInputs inputs;
        inputs.percentText = "10";
        history.begin(cells.workingCopy, selection);
        runCellOperation(up ? CellOperation::IncrementPercent : CellOperation::DecrementPercent, cells, selection,
                         inputs);
        history.commit(cells.workingCopy, selection);
        up = !up;
    }
    void undo()
    {
        history.undo(cells.workingCopy, selection, touched);
        model.redrawCells(touchedCells(cells, touched));
    }
    void redo()
    {
        history.redo(cells.workingCopy, selection, touched);
        model.redrawCells(touchedCells(cells, touched));
    }
};

// Undo, or redo, timed alone; the other runs untimed to set up the next round.
template <bool timeRedo>
void BM_PercentageStepBack(benchmark::State& state)
{
    LargestMap m;
    m.percentageStep();
    for (auto _ : state) {
        if (timeRedo)
            state.PauseTiming();
        m.undo();
        timeRedo ? state.ResumeTiming() : state.PauseTiming();
        m.redo();
        if (!timeRedo)
            state.ResumeTiming();
    }
}
BENCHMARK(BM_PercentageStepBack<false>)->Name("BM_UndoPercentageStepOnLargestMap")
    ->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_PercentageStepBack<true>)->Name("BM_RedoPercentageStepOnLargestMap")
    ->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// The step itself with its recording (note, change, compare).
void BM_RecordedPercentageStepOnLargestMap(benchmark::State& state)
{
    LargestMap m;
    for (auto _ : state)
        m.percentageStep();
}
BENCHMARK(BM_RecordedPercentageStepOnLargestMap)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// Memory of the history after 1,000 direct edits of one cell each, every one
// on its own selected cell.
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
            m.model.setTypedText(row, column, std::to_string((m.cells.raw(row, column) + 1) % 256));
            m.model.commitTypedText(row, column);
            history.commit(m.cells.workingCopy, m.selection);
        }
        used = history.memoryUsed();
    }
    state.counters["history_bytes"] = static_cast<double>(used);
}
BENCHMARK(BM_HistoryMemoryAfter1000OneCellEdits)->Unit(benchmark::kMillisecond)->Iterations(1);

// Three editors on the largest map, each making 30 steps that change one
// byte in 18 (a new pattern each time, so that no run joins its neighbour):
// what their histories count against the budget they share, and what the
// heap really holds for them (mallinfo2, mapped blocks included; the cells
// and selections excluded).
void BM_HistoryHeapOfThreeEditorsWithScatteredSteps(benchmark::State& state)
{
    constexpr int kEditors = 3;
    constexpr int kSteps = 30;
    LargestMap m;
    const auto heapInUse = [] {
        const struct mallinfo2 info = mallinfo2();
        return double(info.uordblks + info.hblkhd);
    };
    double counted = 0;
    double heap = 0;
    for (auto _ : state) {
        std::vector<std::vector<std::uint8_t>> cells(kEditors, m.cells.workingCopy);
        const double heapBefore = heapInUse();
        {
            auto budget = std::make_shared<HistoryBudget>();
            std::vector<std::unique_ptr<EditHistory>> histories;
            for (int e = 0; e < kEditors; ++e)
                histories.push_back(std::make_unique<EditHistory>(budget));
            for (int step = 0; step < kSteps; ++step)
                for (int e = 0; e < kEditors; ++e) {
                    std::vector<std::uint8_t>& bytes = cells[std::size_t(e)];
                    histories[std::size_t(e)]->begin(bytes, m.selection);
                    for (std::size_t i = std::size_t(step % 18); i < bytes.size(); i += 18)
                        ++bytes[i];
                    histories[std::size_t(e)]->commit(bytes, m.selection);
                }
            heap = heapInUse() - heapBefore;
            counted = double(budget->used());
        }
    }
    state.counters["counted_MB"] = counted / (1024.0 * 1024.0);
    state.counters["heap_MB"] = heap / (1024.0 * 1024.0);
}
BENCHMARK(BM_HistoryHeapOfThreeEditorsWithScatteredSteps)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
