#include <gtest/gtest.h>

#include "cells/clipboard_text.h"
#include "map_cells_fixture.h"

namespace {

TEST(ClipboardText, CopyWritesTheHeaderAndTheSelectedCellsColumnByColumn)
{
    CellSelection selection(3, 4);
    EXPECT_EQ(encodeClipboardText(false, false, selection, nullptr), "ENG-ABS");
    EXPECT_EQ(clipboardHeader(true, false) + clipboardHeader(false, true), "RAW-ABSENG-DIF");
    const char* column2[] = {"12.50", "13.00", "13.75"};
    selection.setBlock(0, 2, 2, 2);
    EXPECT_EQ(encodeClipboardText(false, false, selection, [&](int r, int) { return column2[r]; }),
              "ENG-ABS@0:2=12.50@1:2=13.00@2:2=13.75");
    selection.clear();
    for (const auto& [r, c] : {std::pair{2, 0}, {0, 3}, {1, 0}})
        selection.set(r, c);
    EXPECT_EQ(encodeClipboardText(true, true, selection, [](int r, int c) { return std::to_string(r * 10 + c); }),
              "RAW-DIF@1:0=10@2:0=20@0:3=3");
}

// A 2 x 3 map of unsigned 8-bit cells at address 2, all 7 before each paste;
// the compare image, when chosen, holds 40 + the cell's offset there.
TEST(ClipboardText, PasteWritesEntriesUntilTheFirstFailure)
{
    const std::vector<std::int32_t> same(6, 7);
    const struct {
        const char* text;
        bool compare;
        const char* message;
        std::vector<std::int32_t> after;   // row by row
    } rows[] = {
        {"XYZ-ABS@0:0=1", false, "No data to be pasted!", same},
        {"RAW-XYZ@0:0=1", false, "No data to be pasted!", same},
        {"raw-ABS@0:0=1", false, "No data to be pasted!", same},
        {"RAW-ABS@a:0=1", false, "Error in extracting Y co-ordinate!", same},
        {"RAW-ABS@0=1", false, "Error in extracting Y co-ordinate!", same},
        {"RAW-ABS@0:b=1", false, "Error in extracting X co-ordinate!", same},
        {"RAW-ABS@0:0=1x", false, "Error in extracting data value!", same},
        {"ENG-ABS@0:0=", false, "Error in extracting data value!", same},
        {"RAW-DIF@0:0=1", false, "Please select a compare BIN before pasting difference values!", same},
        {"RAW-ABS@0:0=5@1:0=6@0:1=x@1:1=9", false, "Error in extracting data value!", {5, 7, 7, 6, 7, 7}},
        {"RAW-ABS", false, "Data pasted into 0 cells.", same},
        {"RAW-ABS@0:0=-2.9@1:2=300@0:2= +8 ", false, "Data pasted into 3 cells. 2 cells held at a limit.", {0, 7, 8, 7, 7, 255}},
        {"ENG-ABS@0:0=255.4@0:1=-0.5@1:0=1e300", false, "Data pasted into 3 cells. 1 cells held at a limit.", {255, 0, 7, 255, 7, 7}},
        {"RAW-DIF@0:0=250@0:1=-50@0:0=1", true, "Data pasted into 2 cells. 1 cells held at a limit.", {41, 0, 7, 7, 7, 7}},   // as the last write left a cell
        {"RAW-ABS@0:2=300@0:2=300@0:2=400", false, "Data pasted into 1 cells. 1 cells held at a limit.", {7, 7, 255, 7, 7, 7}},
        {"RAW_ABS@0:0=1", false, "Data pasted into 1 cells.", {1, 7, 7, 7, 7, 7}},   // the separator is not examined,
        {"RAW\xE2\x80\x94" "ABS@0:0=1", false, "Data pasted into 1 cells.", {1, 7, 7, 7, 7, 7}},   // whatever its width
        {"RAW-DIF@0:0=1@1:2=-1", true, "Data pasted into 2 cells.", {41, 7, 7, 7, 7, 44}},
        {"ENG-DIF@0:1=2", true, "Data pasted into 1 cells.", {7, 43, 7, 7, 7, 7}},
        {"RAW-ABS@0:0=5@2:0=6@1:-1=7@0:3=8@1:1=9", false, "Data pasted into 2 cells.", {5, 7, 7, 7, 9, 7}},   // outside: skipped
        {"RAW-ABS\n@0:0=5", false, "Data pasted into 0 cells.", same},   // no "@": the end
        {"RAW-ABS@0:0=5\n", false, "Data pasted into 1 cells.", {5, 7, 7, 7, 7, 7}},
    };
    std::vector<std::uint8_t> compare = {0, 0, 40, 41, 42, 43, 44, 45};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        TestCells t(2, 3, 8, 0, 1, 0, 7);
        t.map->axes[AxisZ].address = 2;
        if (row.compare)
            t.compareWith(compare);
        const PasteResult result = pasteClipboardText(row.text, t.cells);
        EXPECT_EQ(result.message.plain(), row.message);
        EXPECT_EQ(t.raws(), row.after);
        std::vector<std::int32_t> written;
        for (int i = 0; i < 6; ++i)
            written.push_back(result.written.isSelected(i / 3, i % 3) ? row.after[std::size_t(i)] : 7);
        EXPECT_EQ(written, row.after);
        EXPECT_EQ(result.writtenCount, result.written.count());
        if (result.writtenCount > 0) {   // undo names what was written, a failure after it too
            EXPECT_EQ(result.note.cells, std::int64_t(result.writtenCount));
        }
    }
}

// Copied in each view and pasted into a zeroed copy of the map with the same
// compare image, every cell comes back; an engineering copy holds the
// rounded texts, so pasting it re-stores cells that need more places.
TEST(ClipboardText, CopyThenPasteInEveryView)
{
    TestCells source(3, 2, 16, AxisSigned, 0.5, 1);
    std::vector<std::uint8_t> compare = {0, 0, 0, 6, 0, 12, 0, 18, 0, 24, 0, 30};
    source.compareWith(compare);
    const std::int32_t values[] = {-300, -1, 0, 1, 99, 32767};
    for (int i = 0; i < 6; ++i)
        source.cells.setRaw(i % 3, i / 3, values[i]);
    CellSelection all(3, 2);
    all.selectAll();
    for (const bool raw : {true, false})
        for (const bool difference : {false, true}) {
            SCOPED_TRACE(clipboardHeader(raw, difference));
            const MapCells& s = source.cells;
            const std::string text = encodeClipboardText(raw, difference, all, [&](int r, int c) {
                std::string shown;
                if (raw)
                    appendInteger(shown, difference ? s.number(r, c) - s.compareNumber(r, c) : s.raw(r, c));
                else
                    appendFixed(shown, s.eng(r, c) - (difference ? s.compareEng(r, c) : 0), 1);
                return shown;
            });
            TestCells target(3, 2, 16, AxisSigned, 0.5, 1);
            target.compareWith(compare);
            const PasteResult result = pasteClipboardText(text, target.cells);
            EXPECT_EQ(result.message.plain(), "Data pasted into 6 cells.");
            EXPECT_EQ(result.writtenCount, 6u);
            EXPECT_EQ(target.cells.workingCopy, source.cells.workingCopy);
        }

    TestCells t(1, 2, 16, 0, 0.01, 1);
    t.cells.setRaw(0, 0, 123);   // shows 1.2
    t.cells.setRaw(0, 1, 7);     // shows 0.1
    CellSelection both(1, 2);
    both.selectAll();
    const std::string engText = encodeClipboardText(false, false, both, [&](int r, int c) { return t.shown(r, c, false); });
    EXPECT_EQ(engText, "ENG-ABS@0:0=1.2@0:1=0.1");
    pasteClipboardText(encodeClipboardText(true, false, both, [&](int r, int c) { return t.shown(r, c, true); }), t.cells);
    EXPECT_EQ(t.raws(), (std::vector<std::int32_t>{123, 7}));
    pasteClipboardText(engText, t.cells);
    EXPECT_EQ(t.raws(), (std::vector<std::int32_t>{120, 10}));
}

} // namespace
