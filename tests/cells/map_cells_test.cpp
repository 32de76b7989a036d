#include <algorithm>

#include <gtest/gtest.h>

#include "cells/clipboard_text.h"
#include "cells/edit_history.h"
#include "cells/table_grid_model.h"
#include "map_cells_fixture.h"

namespace {

// What the close question asks about: whether Apply would change the image.
// A 2 x 2 map of 16-bit cells at address 4, holding 7 each in the working copy.
TEST(MapCells, DiffersFromTheImageWhenApplyWouldChangeIt)
{
    TestCells t(2, 2, 16, 0, 1, 0, 7);
    t.map->axes[AxisZ].address = 4;
    std::vector<std::uint8_t> same(12, 0xAA);
    std::copy(t.cells.workingCopy.begin(), t.cells.workingCopy.end(), same.begin() + 4);
    const struct {
        const char* why;
        std::size_t changedByte;   // past the end: none
        std::size_t dataSize;
        std::int32_t size;
        bool differs;
    } rows[] = {
        {"the same bytes", 99, 12, 12, false},
        {"bytes around the block differ", 3, 12, 12, false},
        {"last byte of the block", 11, 12, 12, true},
        {"first byte of the block", 4, 12, 12, true},
        {"image one byte short", 99, 12, 11, true},
        {"image reloaded empty", 99, 0, 0, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        RomBuffer source;
        source.data = same;
        if (row.changedByte < source.data.size())
            source.data[row.changedByte] ^= 1;
        source.data.resize(row.dataSize);
        source.size = row.size;
        EXPECT_EQ(t.cells.differsFrom(source), row.differs);
    }
}

// An image changing under the working copy: whole cells changed here are
// kept (one changed byte keeps its cell's other byte too), the others take
// the new bytes, 0 past the image's end.
TEST(MapCells, TakingUpTheSourceKeepsTheCellsChangedHere)
{
    TestCells t(3, 1, 16, 0, 1, 0, 0);
    t.map->axes[AxisZ].address = 2;
    std::vector<std::uint8_t> base = {0x00, 0x10, 0x00, 0x20, 0x00, 0x30};
    t.cells.workingCopy = {0x00, 0x10, 0x00, 0x21, 0x00, 0x30};
    RomBuffer source;
    source.data = {0xEE, 0xEE, 0x01, 0x10, 0x05, 0x20, 0x07};
    source.size = 7;
    EXPECT_EQ(t.cells.takeUpSource(base, source), 1u);
    EXPECT_EQ(t.cells.workingCopy, (std::vector<std::uint8_t>{0x01, 0x10, 0x00, 0x21, 0x07, 0x00}));
    EXPECT_EQ(base, (std::vector<std::uint8_t>{0x01, 0x10, 0x05, 0x20, 0x07, 0x00}));
}

// Undo and redo after the take-up walk through the new image's cells, never
// back to the old image's (states of three 16-bit cells, oldest first).
TEST(MapCells, UndoAfterTakingUpTheSourcePutsBackTheNewImagesCells)
{
    using Raws = std::vector<std::int32_t>;
    const struct {
        const char* name;
        Raws oldImage, newImage;
        std::vector<std::pair<int, std::int32_t>> edits;   // column, raw
        int undoneBefore;
        std::vector<Raws> states;
    } rows[] = {
        {"a typed cell", {100, 200, 300}, {110, 210, 310}, {{0, 500}}, 0, {{110, 210, 310}, {500, 210, 310}}},
        {"typed back to the old image's value", {100, 200, 300}, {110, 210, 310}, {{0, 500}, {0, 100}}, 0,
         {{110, 210, 310}, {500, 210, 310}, {110, 210, 310}}},
        {"only the low byte changed here", {0x04A6, 1, 2}, {0x05D2, 1, 2}, {{0, 0x04FF}}, 0,
         {{0x05D2, 1, 2}, {0x04FF, 1, 2}}},
        {"steps undone before, redone after", {100, 200, 300}, {110, 210, 310}, {{1, 7}, {2, 9}}, 1,
         {{110, 210, 310}, {110, 7, 310}, {110, 7, 9}}},
        {"typed what the new image holds", {100, 200, 300}, {110, 210, 310}, {{0, 110}}, 0,
         {{110, 210, 310}, {110, 210, 310}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TestCells image(1, 3, 16), t(1, 3, 16);
        for (int c = 0; c < 3; ++c) {
            image.cells.setRaw(0, c, row.newImage[std::size_t(c)]);
            t.cells.setRaw(0, c, row.oldImage[std::size_t(c)]);
        }
        std::vector<std::uint8_t> base = t.cells.workingCopy;
        EditHistory history;
        CellSelection selection(1, 3);
        std::vector<ByteRange> touched;
        for (const auto& [column, raw] : row.edits) {
            history.begin(t.cells.workingCopy, selection);
            t.cells.setRaw(0, column, raw);
            ASSERT_TRUE(history.commit(t.cells.workingCopy, selection));
        }
        for (int i = 0; i < row.undoneBefore; ++i)
            history.undo(t.cells.workingCopy, selection, touched);

        RomBuffer source;
        source.data = image.cells.workingCopy;
        source.size = static_cast<std::int32_t>(source.data.size());
        const std::vector<std::uint8_t> before = t.cells.workingCopy, oldBase = base;
        t.cells.takeUpSource(base, source);
        history.rebase(before, oldBase, base, 2);

        std::size_t at = row.edits.size() - std::size_t(row.undoneBefore);
        EXPECT_EQ(t.raws(), row.states[at]);
        while (history.undo(t.cells.workingCopy, selection, touched))
            EXPECT_EQ(t.raws(), row.states[--at]);
        EXPECT_EQ(at, 0u);
        while (history.redo(t.cells.workingCopy, selection, touched))
            EXPECT_EQ(t.raws(), row.states[++at]);
        EXPECT_EQ(at, row.states.size() - 1);
    }
}

// A raw difference adds to the compare cell's own number: unsigned 32-bit
// cells above 2^31 hold at their limits instead of wrapping.
TEST(MapCells, RawDifferencesAddToTheCompareCellsOwnNumber)
{
    TestCells t(1, 3, 32);
    const std::vector<std::uint8_t> compare = {0xB2, 0xD0, 0x5E, 0x00, 0, 0, 0, 10, 0x80, 0, 0, 0};   // 3000000000, 10, 2^31
    t.compareWith(compare);
    const PasteResult pasted = pasteClipboardText("RAW-DIF@0:0=2000000000@0:1=-20@0:2=5", t.cells);
    EXPECT_EQ(pasted.message.plain(), "Data pasted into 3 cells. 2 cells held at a limit.");
    TableGridModel model(t.cells);
    model.fill({true, true});
    EXPECT_FALSE(model.storeShown(0, 0, -7));
    EXPECT_EQ((std::vector{t.cells.number(0, 0), t.cells.number(0, 1), t.cells.number(0, 2)}),
              (std::vector<std::int64_t>{2999999993, 0, 2147483653}));
}

} // namespace
