#include <gtest/gtest.h>

#include "cells/spreadsheet_text.h"
#include "map_cells_fixture.h"

namespace {

TEST(SpreadsheetText, CopyGivesTheSmallestBlockRowByRow)
{
    CellSelection selection(4, 5);
    const auto text = [](int r, int c) { return r == 3 && c == 4 ? std::string("a\tb\nc") : std::to_string(r * 10 + c); };
    const struct {
        std::vector<std::pair<int, int>> cells;
        const char* copied;
    } rows[] = {
        {{}, ""},
        {{{2, 3}}, "23\n"},
        {{{1, 1}, {1, 2}, {1, 3}, {2, 1}, {2, 2}, {2, 3}}, "11\t12\t13\n21\t22\t23\n"},
        {{{0, 1}, {2, 3}}, "1\t\t\n\t\t\n\t\t23\n"},   // unselected cells of the block stay empty
        {{{3, 4}}, "a b c\n"},                          // a typed text cannot break the block
    };
    for (const auto& row : rows) {
        selection.clear();
        for (const auto& [r, c] : row.cells)
            selection.set(r, c);
        EXPECT_EQ(encodeSpreadsheetText(selection, text), row.copied);
    }
}

// A 3 x 3 map of unsigned 8-bit cells (factor 0.5, one place) at address 2,
// all raw 7 before each paste; the compare image, when chosen, holds
// 40 + the cell's offset there.
TEST(SpreadsheetText, PasteWritesTheBlockAtTheCursorInTheViewsKind)
{
    const std::vector<std::int32_t> same(9, 7);
    const struct {
        const char* text;
        int top, left;
        TableView view;
        const char* message;
        std::vector<std::int32_t> after;   // row by row
    } rows[] = {
        {"1\t2\n3\t4\n", 0, 0, {true}, "Data pasted into 4 cells.", {1, 2, 7, 3, 4, 7, 7, 7, 7}},
        {"1\t2\r\n3\t4", 1, 1, {true}, "Data pasted into 4 cells.", {7, 7, 7, 7, 1, 2, 7, 3, 4}},
        {"1\t2\r3\t4\r", 1, 1, {true}, "Data pasted into 4 cells.", {7, 7, 7, 7, 1, 2, 7, 3, 4}},
        {"1\t2\t3\n4\t5\t6\n7", 2, 1, {true}, "Data pasted into 2 cells.", {7, 7, 7, 7, 7, 7, 7, 1, 2}},   // outside: skipped
        {" 1,5 \t\t2,5\n\t3", 0, 0, {false}, "Data pasted into 3 cells.", {3, 7, 5, 7, 6, 7, 7, 7, 7}},
        {"1.5\t\t\n\n+2e1", 0, 0, {false}, "Data pasted into 2 cells.", {3, 7, 7, 7, 7, 7, 40, 7, 7}},
        {"300\t-1\t2.9", 0, 0, {true}, "Data pasted into 3 cells. 2 cells held at a limit. 1 cells rounded to their step.",
         {255, 0, 2, 7, 7, 7, 7, 7, 7}},
        {"3,25\t0,75\t3,5", 0, 0, {false}, "Data pasted into 3 cells. 2 cells rounded to their step.",
         {6, 1, 7, 7, 7, 7, 7, 7, 7}},
        {"1\t-1", 0, 1, {true, true}, "Data pasted into 2 cells.", {7, 42, 41, 7, 7, 7, 7, 7, 7}},
        {"0,5", 2, 2, {false, true}, "Data pasted into 1 cells.", {7, 7, 7, 7, 7, 7, 7, 7, 49}},
        {"RAW-ABS@2:0=9", 1, 1, {false}, "Data pasted into 1 cells.", {7, 7, 7, 7, 7, 7, 9, 7, 7}},   // its own format
        {"RAW-DIF@0:0=1", 1, 1, {false}, "Please select a compare BIN before pasting difference values!", same},
        // Anything but a block of numbers changes nothing.
        {"", 0, 0, {true}, "No data to be pasted!", same},
        {"\t\n \n", 0, 0, {true}, "No data to be pasted!", same},
        {"1\t2\n3\tx", 0, 0, {true}, "No data pasted: line 2, field 2 reads \"x\".", same},
        {"1.5\t2,5", 0, 0, {true}, "No data pasted: line 1, field 2 reads \"2,5\".", same},   // two decimal signs
        {"1,234.5", 0, 0, {true}, "No data to be pasted!", same},
        // A comma that may group thousands is taken as decimal only when another field shows it is.
        {"1,000\t-2,250", 0, 0, {true}, "No data pasted: the comma in \"1,000\" may be a thousands separator.", same},
        {"1,000\t0,125", 0, 0, {false}, "Data pasted into 2 cells. 1 cells rounded to their step.", {2, 0, 7, 7, 7, 7, 7, 7, 7}},
        {"12,5\n1,000", 0, 0, {false}, "Data pasted into 2 cells.", {25, 7, 7, 2, 7, 7, 7, 7, 7}},
        {"1,2,3", 0, 0, {true}, "No data to be pasted!", same},
        {"0x10\tnan", 0, 0, {true}, "No data to be pasted!", same},
        {"Fuel map\n1\t2", 0, 0, {true}, "No data to be pasted!", same},
        // Fields past the map's edges are not kept, but still read.
        {"1\t2\t3\t4\n5\n6", 2, 0, {true}, "Data pasted into 3 cells.", {7, 7, 7, 7, 7, 7, 1, 2, 3}},
        {"1\t2\t3\t4\t#N/A and more, past 24 bytes", 0, 0, {true},
         "No data pasted: line 1, field 5 reads \"#N/A and more, past 24 b\u2026\".", same},
        {"1\n2\n3\n5,000", 1, 2, {true}, "No data pasted: the comma in \"5,000\" may be a thousands separator.", same},
    };
    std::vector<std::uint8_t> compare = {0, 0, 40, 41, 42, 43, 44, 45, 46, 47, 48};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        TestCells t(3, 3, 8, 0, 0.5, 1, 7);
        t.map->axes[AxisZ].address = 2;
        if (row.view.difference)
            t.compareWith(compare);
        TableGridModel model(t.cells);
        model.fill(row.view);
        const PasteResult result = pasteAnyText(row.text, model, row.top, row.left);
        EXPECT_EQ(result.message.plain(), row.message);
        EXPECT_EQ(t.raws(), row.after);
        EXPECT_EQ(result.writtenCount, result.written.count());
        EXPECT_EQ(editNoteMessage(false, result.note).plain(),
                  result.note.text ? "Undone: Data pasted into " + std::to_string(result.writtenCount) + " cells." : "Undone.");
    }
}

TEST(SpreadsheetText, CopiedBlocksPasteBackUnchanged)
{
    TestCells source(3, 4, 16, AxisSigned, 0.25, 2);
    for (int i = 0; i < 12; ++i)
        source.cells.setRaw(i / 4, i % 4, i * 1000 - 5000);
    CellSelection scattered(3, 4);
    for (const auto& [r, c] : {std::pair{0, 0}, {1, 2}, {2, 3}, {2, 1}})
        scattered.set(r, c);
    for (const bool raw : {true, false}) {
        SCOPED_TRACE(raw);
        const std::string text = encodeSpreadsheetText(scattered, [&](int r, int c) { return source.shown(r, c, raw); });
        TestCells target(3, 4, 16, AxisSigned, 0.25, 2, 3);
        TableGridModel model(target.cells);
        model.fill({raw});
        EXPECT_EQ(pasteSpreadsheetText(text, model, 0, 0).writtenCount, 4u);
        for (int i = 0; i < 12; ++i)
            EXPECT_EQ(target.cells.raw(i / 4, i % 4), scattered.isSelected(i / 4, i % 4) ? source.cells.raw(i / 4, i % 4) : 3);
    }

    // Shown with fewer places than they hold, edited in part elsewhere and
    // pasted back: only the edited cell changes, the others keep their digits.
    TestCells held(1, 3, 16, 0, 0.01, 1);
    for (int c = 0; c < 3; ++c)
        held.cells.setRaw(0, c, std::vector{1792, 5390, 8988}[c]);
    TableGridModel model(held.cells);
    model.fill({false});
    CellSelection all(1, 3);
    all.selectAll();
    std::string text = encodeSpreadsheetText(all, [&](int r, int c) { return model.text(r, c); });
    EXPECT_EQ(text, "17.9\t53.9\t89.9\n");
    text.replace(text.find("53.9"), 4, "50.0");
    EXPECT_EQ(pasteSpreadsheetText(text, model, 0, 0).writtenCount, 3u);
    EXPECT_EQ(held.raws(), (std::vector<std::int32_t>{1792, 5000, 8988}));
}

TEST(SpreadsheetText, SelectionSizeNamesColumnsThenRows)
{
    CellSelection selection(1024, 2048);
    EXPECT_TRUE(selectionSizeText(selection).empty());
    selection.set(5, 7);
    EXPECT_EQ(selectionSizeText(selection).plain(), "1 \u00d7 1 = 1 cell");
    selection.clear();
    selection.setBlock(2, 1, 4, 4);
    EXPECT_EQ(selectionSizeText(selection).plain(), "4 \u00d7 3 = 12 cells");
    selection.set(5, 7);
    EXPECT_EQ(selectionSizeText(selection).plain(), "13 cells in 7 \u00d7 4");
    selection.selectAll();
    EXPECT_EQ(selectionSizeText(selection).plain(), "2048 \u00d7 1024 = 2097152 cells");
}

} // namespace
