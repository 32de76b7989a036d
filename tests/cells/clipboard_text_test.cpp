#include <gtest/gtest.h>

#include <vector>

#include "cells/clipboard_text.h"
#include "map_cells_fixture.h"

namespace {

std::vector<std::int32_t> raws(const MapCells& cells)
{
    std::vector<std::int32_t> values;
    for (int row = 0; row < cells.rows(); ++row)
        for (int column = 0; column < cells.columns(); ++column)
            values.push_back(cells.raw(row, column));
    return values;
}

TEST(ClipboardText, CopyWritesTheHeaderAndTheSelectedCellsColumnByColumn)
{
    CellSelection selection(3, 4);
    EXPECT_EQ(encodeClipboardText(false, false, selection, nullptr), "ENG-ABS");
    EXPECT_EQ(clipboardHeader(false, true), "ENG-DIF");
    EXPECT_EQ(clipboardHeader(true, false), "RAW-ABS");
    EXPECT_EQ(clipboardHeader(true, true), "RAW-DIF");

    const char* column2[] = {"12.50", "13.00", "13.75"};
    selection.setBlock(0, 2, 2, 2);
    const auto text = [&](int row, int column) { return column == 2 ? column2[row] : std::string("x"); };
    EXPECT_EQ(encodeClipboardText(false, false, selection, text), "ENG-ABS@0:2=12.50@1:2=13.00@2:2=13.75");

    selection.clear();
    selection.set(2, 0);
    selection.set(0, 3);
    selection.set(1, 0);
    EXPECT_EQ(encodeClipboardText(true, true, selection, [](int r, int c) { return std::to_string(r * 10 + c); }),
              "RAW-DIF@1:0=10@2:0=20@0:3=3");
}

// A 2 x 3 map of unsigned 8-bit cells, all 7 before each paste; the compare
// image (when given) holds 40 + cell number at the map's address 2.
TEST(ClipboardText, PasteWritesEntriesUntilTheFirstFailure)
{
    struct Row {
        const char* text;
        bool compare;
        const char* message;
        std::vector<std::int32_t> after;   // row by row
    };
    const std::vector<std::int32_t> untouched(6, 7);
    const Row rows[] = {
        {"XYZ-ABS@0:0=1", false, "No data to be pasted!", untouched},
        {"RAW-XYZ@0:0=1", false, "No data to be pasted!", untouched},
        {"RAW", false, "No data to be pasted!", untouched},
        {"", false, "No data to be pasted!", untouched},
        {"raw-ABS@0:0=1", false, "No data to be pasted!", untouched},
        {"RAW-ABS@a:0=1", false, "Error in extracting Y co-ordinate!", untouched},
        {"RAW-ABS@0=1", false, "Error in extracting Y co-ordinate!", untouched},
        {"RAW-ABS@0:b=1", false, "Error in extracting X co-ordinate!", untouched},
        {"RAW-ABS@0:1", false, "Error in extracting X co-ordinate!", untouched},
        {"RAW-ABS@0:0=1x", false, "Error in extracting data value!", untouched},
        {"ENG-ABS@0:0=", false, "Error in extracting data value!", untouched},
        {"ENG-ABS@0:0=1e999", false, "Error in extracting data value!", untouched},
        {"RAW-DIF@0:0=1", false, "Please select a compare BIN before pasting difference values!", untouched},
        {"ENG-DIF@0:0=1", false, "Please select a compare BIN before pasting difference values!", untouched},
        // Entries before a failing one stay written.
        {"RAW-ABS@0:0=5@1:0=6@0:1=x@1:1=9", false, "Error in extracting data value!", {5, 7, 7, 6, 7, 7}},
        // Successful pastes say nothing.
        {"RAW-ABS", false, "", untouched},
        {"RAW-ABS@0:0=-2.9@1:2=300@0:2= +8 ", false, "", {254, 7, 8, 7, 7, 44}},
        {"RAW_ABS@0:0=1", false, "", {1, 7, 7, 7, 7, 7}},                      // the separator is not examined
        {"RAW\xE2\x80\x94" "ABS@0:0=1", false, "", {1, 7, 7, 7, 7, 7}},     // nor is its width in bytes
        {"RAW-DIF@0:0=1@1:2=-1", true, "", {41, 7, 7, 7, 7, 44}},
        {"ENG-DIF@0:1=2", true, "", {7, 43, 7, 7, 7, 7}},
        // Entries outside the table are skipped; text that stops continuing with "@" ends the paste.
        {"RAW-ABS@0:0=5@2:0=6@1:-1=7@0:3=8@1:1=9", false, "", {5, 7, 7, 7, 9, 7}},
        {"RAW-ABS\n@0:0=5", false, "", untouched},
        {"RAW-ABS@0:0=5\n", false, "", {5, 7, 7, 7, 7, 7}},
    };
    const auto map = makeMap(2, 3, 8);
    const_cast<MapDefinition&>(*map).axes[AxisZ].address = 2;
    std::vector<std::uint8_t> compare = {0, 0, 40, 41, 42, 43, 44, 45};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        MapCells cells = makeCells(*map);
        std::fill(cells.workingCopy.begin(), cells.workingCopy.end(), 7);
        if (row.compare) {
            cells.compareImage = compare.data();
            cells.compareSize = compare.size();
        }
        const PasteResult result = pasteClipboardText(row.text, cells);
        EXPECT_EQ(result.message.plain(), row.message);
        EXPECT_EQ(raws(cells), row.after);
        std::size_t changed = 0;
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 3; ++c) {
                const bool differs = row.after[static_cast<std::size_t>(r * 3 + c)] != 7;
                changed += differs;
                EXPECT_EQ(result.written.isSelected(r, c), differs) << r << ":" << c;
            }
        EXPECT_EQ(result.writtenCount, changed);
        EXPECT_EQ(result.written.count(), changed);
    }
}

// Copy every cell in each of the four views and paste it into a zeroed copy
// of the same map with the same compare image: every cell comes back.
TEST(ClipboardText, CopyThenPasteRestoresTheCellsInEveryView)
{
    const auto map = makeMap(3, 2, 16, AxisSigned, 0.5, 0.0, 1);
    std::vector<std::uint8_t> compare(12);
    for (std::size_t i = 0; i < compare.size(); i += 2)
        compare[i + 1] = static_cast<std::uint8_t>(3 * i);
    MapCells source = makeCells(*map);
    source.compareImage = compare.data();
    source.compareSize = compare.size();
    const std::int32_t values[] = {-300, -1, 0, 1, 99, 32767};
    for (int i = 0; i < 6; ++i)
        source.setRaw(i % 3, i / 3, values[i]);
    CellSelection all(3, 2);
    all.selectAll();

    for (const bool rawView : {true, false})
        for (const bool differenceView : {false, true}) {
            SCOPED_TRACE(clipboardHeader(rawView, differenceView));
            const std::string text =
                encodeClipboardText(rawView, differenceView, all, [&](int row, int column) {
                    std::string shown;
                    if (rawView)
                        appendInteger(shown, source.raw(row, column) -
                                                 (differenceView ? source.compareRaw(row, column) : 0));
                    else
                        appendFixed(shown,
                                    source.eng(row, column) - (differenceView ? source.compareEng(row, column) : 0),
                                    1);
                    return shown;
                });
            MapCells target = makeCells(*map);
            target.compareImage = compare.data();
            target.compareSize = compare.size();
            const PasteResult result = pasteClipboardText(text, target);
            EXPECT_TRUE(result.message.empty());
            EXPECT_EQ(result.writtenCount, 6u);
            EXPECT_EQ(target.workingCopy, source.workingCopy);
        }
}

TEST(ClipboardText, EngineeringPasteStoresTheRoundedText)
{
    const auto map = makeMap(1, 2, 16, 0, 0.01, 0.0, 1);
    MapCells cells = makeCells(*map);
    cells.setRaw(0, 0, 123);   // shows 1.2
    cells.setRaw(0, 1, 7);     // shows 0.1
    CellSelection all(1, 2);
    all.selectAll();
    const auto shown = [&](bool rawView) {
        return encodeClipboardText(rawView, false, all,
                                   [&](int r, int c) { return shownText(cells, r, c, rawView); });
    };
    const std::string engText = shown(false);
    EXPECT_EQ(engText, "ENG-ABS@0:0=1.2@0:1=0.1");
    pasteClipboardText(shown(true), cells);
    EXPECT_EQ(raws(cells), (std::vector<std::int32_t>{123, 7}));
    pasteClipboardText(engText, cells);
    EXPECT_EQ(raws(cells), (std::vector<std::int32_t>{120, 10}));
}

} // namespace
