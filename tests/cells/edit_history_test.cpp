#include <gtest/gtest.h>

#include <malloc.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "cells/edit_history.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Editor {
    Bytes cells = Bytes(64 * 32, 7);
    CellSelection selection{64, 32};
    EditHistory history;

    explicit Editor(std::shared_ptr<HistoryBudget> budget = nullptr) : history(std::move(budget)) {}

    // One user action: the selection it acts on, then the bytes it writes.
    bool change(const std::function<void(Bytes&, CellSelection&)>& action, EditNote note = {})
    {
        history.begin(cells, selection);
        action(cells, selection);
        return history.commit(cells, selection, note);
    }
};

TEST(EditHistory, UndoAndRedoRestoreBytesAndSelectionOfEveryKindOfChange)
{
    struct Row {
        std::string kind;
        std::function<void(Bytes&, CellSelection&)> action;
    };
    const Row rows[] = {
        {"one cell edited", [](Bytes& b, CellSelection& s) { s.clear(); s.set(3, 4); b[4 * 64 + 3] = 99; }},
        {"step over every cell", [](Bytes& b, CellSelection& s) { s.selectAll(); for (auto& x : b) x += 5; }},
        {"fill of a block", [](Bytes& b, CellSelection& s) {
             s.clear();
             s.setBlock(2, 2, 10, 5);
             for (int c = 2; c <= 5; ++c)
                 for (int r = 2; r <= 10; ++r)
                     b[std::size_t(c) * 64 + std::size_t(r)] = 1;
         }},
        {"scattered paste, selection kept", [](Bytes& b, CellSelection&) {
             for (std::size_t i = 0; i < b.size(); i += 3)
                 b[i] = static_cast<std::uint8_t>(i);
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.kind);
        Editor e;
        e.selection.setBlock(0, 0, 1, 1);   // some earlier selection
        for (std::size_t i = 0; i < e.cells.size(); i += 7)
            e.cells[i] = static_cast<std::uint8_t>(i * 13);
        const Bytes before = e.cells;
        const CellSelection selectionBefore = e.selection;
        ASSERT_TRUE(e.change(row.action));
        const Bytes after = e.cells;
        const CellSelection selectionAfter = e.selection;

        std::vector<ByteRange> touched;
        ASSERT_TRUE(e.history.undo(e.cells, e.selection, touched));
        EXPECT_EQ(e.cells, before);
        EXPECT_EQ(e.selection, selectionBefore);
        for (std::size_t i = 0; i < before.size(); ++i) {
            bool inside = false;
            for (const ByteRange& range : touched)
                inside = inside || (i >= range.first && i < range.first + range.size);
            ASSERT_EQ(inside, before[i] != after[i]) << "byte " << i;
        }
        EXPECT_FALSE(e.history.undo(e.cells, e.selection, touched));
        ASSERT_TRUE(e.history.redo(e.cells, e.selection, touched));
        EXPECT_EQ(e.cells, after);
        EXPECT_EQ(e.selection, selectionAfter);
        EXPECT_FALSE(e.history.redo(e.cells, e.selection, touched));
    }
}

TEST(EditHistory, NewChangeAfterUndoDropsRedoAndNoOpChangesAreNotSteps)
{
    Editor e;
    ASSERT_TRUE(e.change([](Bytes& b, CellSelection&) { b[0] = 1; }, {"Raw number added to ", 1}));
    ASSERT_TRUE(e.change([](Bytes& b, CellSelection&) { b[1] = 2; }, {"Value typed into a cell."}));
    EXPECT_FALSE(e.change([](Bytes& b, CellSelection&) { b[2] = 7; }));   // wrote what was there
    EXPECT_EQ(editNoteMessage(false, e.history.undoNote()).plain(), "Undone: Value typed into a cell.");
    std::vector<ByteRange> touched;
    ASSERT_TRUE(e.history.undo(e.cells, e.selection, touched));
    EXPECT_TRUE(e.history.canRedo());
    EXPECT_EQ(editNoteMessage(true, e.history.redoNote()).plain(), "Redone: Value typed into a cell.");
    EXPECT_EQ(editNoteMessage(false, e.history.undoNote()).plain(), "Undone: Raw number added to 1 cells.");
    ASSERT_TRUE(e.change([](Bytes& b, CellSelection&) { b[5] = 3; }));
    EXPECT_FALSE(e.history.canRedo());
    EXPECT_EQ(e.history.stepCount(), 2u);
    ASSERT_TRUE(e.history.undo(e.cells, e.selection, touched));
    ASSERT_TRUE(e.history.undo(e.cells, e.selection, touched));
    EXPECT_EQ(e.cells, Bytes(64 * 32, 7));
}

TEST(EditHistory, CostFollowsTheBytesChangedAndTheLimitDropsOldestSteps)
{
    // 2 MB of cells with a checkerboard selection: one-cell edits stay small.
    Bytes cells(std::size_t(1024) * 2048, 0);
    CellSelection selection(1024, 2048);
    for (int c = 0; c < 2048; ++c)
        for (int r = c % 2; r < 1024; r += 2)
            selection.set(r, c);
    EditHistory history;
    for (int i = 0; i < 20; ++i) {
        history.begin(cells, selection);
        cells[std::size_t(i) * 4099] ^= 0xFF;
        ASSERT_TRUE(history.commit(cells, selection));
    }
    EXPECT_LT(history.memoryUsed(), 300u * 1024);   // one packed selection, shared, plus tiny runs

    EditHistory small(3 * 1024 * 1024);
    std::uint8_t beforeLast = 0;
    for (int i = 0; i < 5; ++i) {
        beforeLast = cells[0];   // each step rewrites the whole block: about 4 MB
        small.begin(cells, selection);
        for (auto& b : cells)
            b += 1;
        ASSERT_TRUE(small.commit(cells, selection));
    }
    EXPECT_EQ(small.stepCount(), 1u);   // the newest step stays even above the limit
    std::vector<ByteRange> touched;
    ASSERT_TRUE(small.undo(cells, selection, touched));
    EXPECT_EQ(cells[0], beforeLast);
    EXPECT_FALSE(small.canUndo());
}

// The histories of several editors share one budget: together they stay
// under its limit, the oldest steps of all of them going first. The step just
// recorded always stays, and a history with nothing left to undo loses its
// redo steps whole (none can be redone without the ones before it).
TEST(EditHistory, HistoriesSharingABudgetStayUnderItTogether)
{
    auto budget = std::make_shared<HistoryBudget>(14000);   // about three steps over every byte
    Editor a(budget), b(budget);
    const auto everyByte = [](Bytes& bytes, CellSelection&) {
        for (auto& x : bytes)
            x += 1;
    };
    const Bytes aFirst = a.cells;
    for (Editor* e : {&a, &b, &a, &b})
        ASSERT_TRUE(e->change(everyByte));
    EXPECT_EQ(a.history.stepCount() * 10 + b.history.stepCount(), 12u);   // a's first step went
    std::vector<ByteRange> touched;
    ASSERT_TRUE(b.history.undo(b.cells, b.selection, touched));
    ASSERT_TRUE(b.history.undo(b.cells, b.selection, touched));
    ASSERT_TRUE(a.change(everyByte));   // b's oldest is the oldest of all: b's redo steps go together
    EXPECT_EQ(a.history.stepCount() * 10 + b.history.stepCount(), 20u);
    EXPECT_FALSE(b.history.canRedo());
    EXPECT_LE(budget->used(), budget->limit());
    EXPECT_EQ(budget->used(), a.history.memoryUsed() + b.history.memoryUsed());
    while (a.history.undo(a.cells, a.selection, touched)) {
    }
    EXPECT_EQ(a.cells, Bytes(aFirst.size(), 8));   // back to just after the dropped step

    {
        Editor closing(budget);
        ASSERT_TRUE(closing.change(everyByte));
    }
    EXPECT_EQ(budget->used(), a.history.memoryUsed() + b.history.memoryUsed());   // a closed editor's steps are gone
}

// What a history counts is what it holds on the heap: one byte in 18 changed
// over 256 KB makes a run per byte, whose records and allocations cost far
// more than the two bytes each keeps.
TEST(EditHistory, CountsWhatItHoldsOnTheHeap)
{
    Bytes cells(256 * 1024, 0);
    CellSelection selection(512, 512);
    selection.setBlock(0, 0, 100, 100);
    const auto heapInUse = [] {
        const struct mallinfo2 info = mallinfo2();
        return double(info.uordblks + info.hblkhd);
    };
    const double before = heapInUse();
    EditHistory history;
    for (int step = 0; step < 5; ++step) {
        history.begin(cells, selection);
        for (std::size_t i = std::size_t(step); i < cells.size(); i += 18)
            ++cells[i];
        ASSERT_TRUE(history.commit(cells, selection));
    }
    const double held = heapInUse() - before;
    EXPECT_NEAR(double(history.memoryUsed()), held, held * 0.05);
}

} // namespace
