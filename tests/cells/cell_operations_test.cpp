#include <gtest/gtest.h>

#include <vector>

#include "cells/cell_operations.h"
#include "map_cells_fixture.h"

namespace {

using Op = CellOperation;
using Mode = OperationMode;
constexpr unsigned kCorners = FieldTopLeft | FieldTopRight | FieldBottomLeft | FieldBottomRight;

std::vector<std::int32_t> raws(const MapCells& cells)
{
    std::vector<std::int32_t> values;
    for (int row = 0; row < cells.rows(); ++row)
        for (int column = 0; column < cells.columns(); ++column)
            values.push_back(cells.raw(row, column));
    return values;
}

CellInputs inputs(Mode mode, std::int32_t rawValue, std::string percent, std::string engineering,
                  std::array<std::string, 4> corners = {"0", "0", "0", "0"})
{
    CellInputs in;
    in.mode = mode;
    in.rawValue = rawValue;
    in.percentText = std::move(percent);
    in.engineeringText = std::move(engineering);
    in.cornerTexts = std::move(corners);
    return in;
}

// One selected cell among unselected neighbours holding 7: the operation
// writes only that cell, or nothing at all when its input is refused.
TEST(CellOperations, StepsAndFillWriteTheSelectedCellsOrRefuseTheirInput)
{
    struct Layout {
        int bits;
        std::uint16_t flags;
        double factor;
        int places;
    };
    const Layout u8{8, 0, 1.0, 0}, s16{16, AxisSigned, 1.0, 0}, eng{16, 0, 0.1, 1};
    struct Row {
        Layout layout;
        Op op;
        CellInputs in;
        std::int32_t before, after;
        const char* message;
        unsigned accepted, rejected;
    };
    const Row rows[] = {
        {u8, Op::IncrementRaw, inputs(Mode::Engineering, 10, "", ""), 250, 4, "Raw number added to 1 cells.", 0, 0},
        {u8, Op::DecrementRaw, inputs(Mode::Raw, 10, "", ""), 3, 249, "Raw number subtracted from 1 cells.", 0, 0},
        {s16, Op::IncrementRaw, inputs(Mode::Raw, 50, "", ""), -200, -150, "Raw number added to 1 cells.", 0, 0},
        {eng, Op::IncrementPercent, inputs(Mode::Raw, 0, "10", ""), 500, 550, "Percentage added to 1 cells.",
         FieldPercent, 0},
        {eng, Op::DecrementPercent, inputs(Mode::Percent, 0, "10", ""), 550, 495,
         "Percentage subtracted from 1 cells.", FieldPercent, 0},
        {eng, Op::IncrementPercent, inputs(Mode::Raw, 0, "+1e1", ""), 0, 0, "Percentage added to 1 cells.",
         FieldPercent, 0},
        {eng, Op::IncrementEngineering, inputs(Mode::Raw, 0, "", "2.5"), 500, 525,
         "Engineering number added to 1 cells.", FieldEngineering, 0},
        {eng, Op::DecrementEngineering, inputs(Mode::Raw, 0, "", " 2.5 "), 500, 475,
         "Engineering number subtracted from 1 cells.", FieldEngineering, 0},
        {u8, Op::Fill, inputs(Mode::Raw, 300, "", "x"), 1, 44, "Raw number set on 1 cells.", 0, 0},
        {eng, Op::Fill, inputs(Mode::Engineering, 5, "", "12.34"), 1, 123, "Engineering number set on 1 cells.",
         FieldEngineering, 0},
        // Refused: nothing is written.
        {u8, Op::Fill, inputs(Mode::Percent, 9, "9", "9"), 1, 1, "Filling is only available for raw & engineering numbers.",
         0, 0},
        {eng, Op::IncrementPercent, inputs(Mode::Raw, 0, "", "1"), 1, 1,
         "Please insert a number in the percentage field!", 0, 0},
        {eng, Op::DecrementPercent, inputs(Mode::Raw, 0, "abc", "1"), 1, 1, "This is not a valid number!", 0,
         FieldPercent},
        {eng, Op::DecrementEngineering, inputs(Mode::Raw, 0, "1", ""), 1, 1,
         "Please insert a number in the engineering field!", 0, 0},
        {eng, Op::IncrementEngineering, inputs(Mode::Raw, 0, "1", "1x"), 1, 1, "This is not a valid number!", 0,
         FieldEngineering},
        {eng, Op::Fill, inputs(Mode::Engineering, 0, "1", ""), 1, 1, "This is not a valid number!", 0, FieldEngineering},
        {eng, Op::Fill, inputs(Mode::Engineering, 0, "1", "nan"), 1, 1, "This is not a valid number!", 0, FieldEngineering},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        const auto map = makeMap(3, 3, row.layout.bits, row.layout.flags, row.layout.factor, 0.0, row.layout.places);
        MapCells cells = makeCells(*map);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                cells.setRaw(r, c, 7);
        cells.setRaw(1, 2, row.before);
        CellSelection selection(3, 3);
        selection.set(1, 2);
        const CellSelection selectedBefore = selection;
        std::vector<std::int32_t> expected = raws(cells);
        expected[1 * 3 + 2] = row.after;

        const CellOperationResult result = runCellOperation(row.op, cells, selection, row.in);
        EXPECT_EQ(result.message.plain(), row.message);
        EXPECT_EQ(raws(cells), expected);
        EXPECT_EQ(selection, selectedBefore);
        EXPECT_EQ(result.acceptedFields, row.accepted);
        EXPECT_EQ(result.rejectedFields, row.rejected);
        EXPECT_EQ(result.cellsWritten, row.rejected == 0 && std::string(row.message).find(" 1 cells.") != std::string::npos);
        EXPECT_FALSE(result.selectionChanged);
    }
}

TEST(CellOperations, WithNothingSelectedEveryOperationCountsNoCell)
{
    const auto map = makeMap(2, 2, 16, 0, 1.0, 0.0, 2);
    MapCells cells = makeCells(*map);
    cells.setRaw(0, 1, 5);
    CellSelection selection(2, 2);
    const CellInputs valid = inputs(Mode::Raw, 3, "10", "1", {"1", "2", "3", "4"});
    CellInputs validEng = valid;
    validEng.mode = Mode::Engineering;
    const struct {
        Op op;
        const CellInputs& in;
        const char* message;
    } rows[] = {
        {Op::IncrementRaw, valid, "Raw number added to 0 cells."},
        {Op::DecrementPercent, valid, "Percentage subtracted from 0 cells."},
        {Op::IncrementEngineering, valid, "Engineering number added to 0 cells."},
        {Op::Fill, valid, "Raw number set on 0 cells."},
        {Op::Fill, validEng, "Engineering number set on 0 cells."},
        {Op::Interpolate, valid, "Interpolation set on 0 cells."},
        {Op::Interpolate, validEng, "Interpolation set on 0 cells."},
        {Op::Statistics, valid, "COUNT=0 MIN=2147483647.00 AVG=nan MAX=-2147483647.00"},
    };
    const std::vector<std::int32_t> before = raws(cells);
    for (const auto& row : rows) {
        const CellOperationResult result = runCellOperation(row.op, cells, selection, row.in);
        EXPECT_EQ(result.message.plain(), row.message);
        EXPECT_FALSE(result.cellsWritten);
        EXPECT_EQ(raws(cells), before);
        EXPECT_FALSE(selection.any());
    }
}

// A 3-row, 5-column map of 16-bit signed cells (factor 0.5, one place) all
// holding raw 100; the ramp's additions are checked cell by cell, in raw units.
TEST(CellOperations, InterpolationAddsTheBilinearRampToSelectedCellsOnly)
{
    struct Block {
        int top, left, bottom, right;
    };
    struct Row {
        const char* what;
        Mode mode;
        std::array<std::string, 4> corners;
        std::vector<Block> selected;
        std::vector<std::pair<int, int>> unselected;   // holes punched into the blocks
        std::vector<std::int32_t> added;               // 3 x 5, row by row
        const char* message;
        unsigned accepted, rejected;
    };
    const Row rows[] = {
        {"3x3 raw, hole in the middle", Mode::Raw, {"0", "10", "20", "30"}, {{0, 1, 2, 3}}, {{1, 2}},
         {0, 0, 5, 10, 0, /**/ 0, 10, 0, 20, 0, /**/ 0, 20, 25, 30, 0}, "Interpolation set on 8 cells.", kCorners, 0},
        {"raw ramp rounds up", Mode::Raw, {"0", "1", "0", "1"}, {{0, 0, 2, 2}}, {},
         {0, 1, 1, 0, 0, /**/ 0, 1, 1, 0, 0, /**/ 0, 1, 1, 0, 0}, "Interpolation set on 9 cells.", kCorners, 0},
        {"one column uses top-left and bottom-left", Mode::Engineering, {"1.5", "99", "3.5", "-99"}, {{0, 4, 2, 4}}, {},
         {0, 0, 0, 0, 3, /**/ 0, 0, 0, 0, 5, /**/ 0, 0, 0, 0, 7}, "Interpolation set on 3 cells.", kCorners, 0},
        {"one row ramps from top-left to top-right", Mode::Engineering, {"0", "8", "100", "100"}, {{1, 0, 1, 4}}, {},
         {0, 0, 0, 0, 0, /**/ 0, 4, 8, 12, 16, /**/ 0, 0, 0, 0, 0}, "Interpolation set on 5 cells.", kCorners, 0},
        {"one cell takes top-left", Mode::Raw, {"-3", "8", "9", "9"}, {{2, 2, 2, 2}}, {},
         {0, 0, 0, 0, 0, /**/ 0, 0, 0, 0, 0, /**/ 0, 0, -3, 0, 0}, "Interpolation set on 1 cells.", kCorners, 0},
        {"bounding block of two cells", Mode::Raw, {"0", "40", "8", "48"}, {{0, 0, 0, 0}, {2, 4, 2, 4}}, {},
         {0, 0, 0, 0, 0, /**/ 0, 0, 0, 0, 0, /**/ 0, 0, 0, 0, 48}, "Interpolation set on 2 cells.", kCorners, 0},
        // Refused: the first corner that is not a number turns red, nothing is written.
        {"raw corners are whole numbers", Mode::Raw, {"0", "1.5", "x", "0"}, {{0, 0, 2, 4}}, {},
         std::vector<std::int32_t>(15, 0), "This is not a valid number!", 0, FieldTopRight},
        {"empty corner", Mode::Engineering, {"0", "1", "2", ""}, {{0, 0, 2, 4}}, {},
         std::vector<std::int32_t>(15, 0), "This is not a valid number!", 0, FieldBottomRight},
        {"percentage mode", Mode::Percent, {"x", "x", "x", "x"}, {{0, 0, 2, 4}}, {},
         std::vector<std::int32_t>(15, 0), "Interpolation is only available for raw & engineering numbers.", 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const auto map = makeMap(3, 5, 16, AxisSigned, 0.5, 0.0, 1);
        MapCells cells = makeCells(*map);
        CellSelection selection(3, 5);
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 5; ++c)
                cells.setRaw(r, c, 100);
        for (const Block& block : row.selected)
            selection.setBlock(block.top, block.left, block.bottom, block.right);
        for (const auto& [r, c] : row.unselected)
            selection.set(r, c, false);
        const CellSelection selectedBefore = selection;
        CellInputs in = inputs(row.mode, 0, "", "", row.corners);

        const CellOperationResult result = runCellOperation(Op::Interpolate, cells, selection, in);
        std::vector<std::int32_t> added = raws(cells);
        for (std::int32_t& value : added)
            value -= 100;
        EXPECT_EQ(added, row.added);
        EXPECT_EQ(result.message.plain(), row.message);
        EXPECT_EQ(result.acceptedFields, row.accepted);
        EXPECT_EQ(result.rejectedFields, row.rejected);
        EXPECT_EQ(selection, selectedBefore);
    }
}

// Cells of a 2 x 3 map (factor 0.01, one place), column by column:
// raw 123 (1.2), 125 (1.3), 0 (0.0), 130 (1.3), 200 (2.0), 123 (1.2).
TEST(CellOperations, SelectionByValueReplacesTheSelectionWithTheMatches)
{
    struct Row {
        Mode mode;
        std::int32_t raw;
        const char* engineering;
        Op op;
        std::vector<std::uint8_t> flags;   // column by column
        const char* message;
        unsigned accepted, rejected;
    };
    const std::vector<std::uint8_t> before = {1, 1, 0, 0, 0, 0};
    const Row rows[] = {
        {Mode::Raw, 123, "x", Op::SelectEqual, {1, 0, 0, 0, 0, 1}, "Selected 2 cells.", 0, 0},
        {Mode::Raw, 125, "", Op::SelectGreaterOrEqual, {0, 1, 0, 1, 1, 0}, "Selected 3 cells.", 0, 0},
        {Mode::Raw, 7, "", Op::SelectEqual, {0, 0, 0, 0, 0, 0}, "Selected 0 cells.", 0, 0},
        // The rounded value counts: raw 125 is 1.25, shown and compared as 1.3.
        {Mode::Engineering, 0, "1.3", Op::SelectEqual, {0, 1, 0, 1, 0, 0}, "Selected 2 cells.", FieldEngineering, 0},
        {Mode::Engineering, 0, "1.3", Op::SelectGreaterOrEqual, {0, 1, 0, 1, 1, 0}, "Selected 3 cells.",
         FieldEngineering, 0},
        {Mode::Engineering, 0, "-1", Op::SelectGreaterOrEqual, {1, 1, 1, 1, 1, 1}, "Selected 6 cells.",
         FieldEngineering, 0},
        // Refused or not available: the selection stays.
        {Mode::Engineering, 0, "", Op::SelectEqual, before, "This is not a valid number!", 0, FieldEngineering},
        {Mode::Engineering, 0, "1,3", Op::SelectGreaterOrEqual, before, "This is not a valid number!", 0,
         FieldEngineering},
        {Mode::Percent, 0, "1", Op::SelectEqual, before,
         "Selection by value is only available for raw & engineering numbers.", 0, 0},
    };
    const auto map = makeMap(2, 3, 16, 0, 0.01, 0.0, 1);
    MapCells cells = makeCells(*map);
    const std::int32_t values[] = {123, 125, 0, 130, 200, 123};
    for (int i = 0; i < 6; ++i)
        cells.setRaw(i % 2, i / 2, values[i]);
    const std::vector<std::int32_t> cellsBefore = raws(cells);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        CellSelection selection(2, 3);
        selection.flags() = before;
        CellInputs in = inputs(row.mode, row.raw, "", row.engineering);
        const CellOperationResult result = runCellOperation(row.op, cells, selection, in);
        EXPECT_EQ(selection.flags(), row.flags);
        EXPECT_EQ(result.message.plain(), row.message);
        EXPECT_EQ(result.acceptedFields, row.accepted);
        EXPECT_EQ(result.rejectedFields, row.rejected);
        EXPECT_EQ(result.selectionChanged, row.rejected == 0 && row.mode != Mode::Percent);
        EXPECT_EQ(raws(cells), cellsBefore);
    }
}

TEST(CellOperations, SelectionCommandsStatisticsAndSixteenBitCounts)
{
    const auto map = makeMap(2, 2, 8, AxisSigned, 0.5, 0.0, 2);
    MapCells cells = makeCells(*map);
    CellSelection selection(2, 2);
    const CellInputs none;
    const auto run = [&](Op op) { return runCellOperation(op, cells, selection, none); };

    EXPECT_TRUE(run(Op::InvertSelection).selectionChanged);   // nothing selected: everything is
    EXPECT_EQ(selection.count(), 4u);
    run(Op::InvertSelection);
    EXPECT_FALSE(selection.any());
    selection.set(0, 1);
    run(Op::InvertSelection);
    EXPECT_EQ(selection.flags(), (std::vector<std::uint8_t>{1, 1, 0, 1}));
    EXPECT_TRUE(run(Op::ClearSelection).message.empty());
    EXPECT_FALSE(selection.any());
    run(Op::SelectAll);
    EXPECT_EQ(selection.count(), 4u);

    // Statistics of absolute engineering values, whatever is shown.
    cells.setRaw(0, 0, -3);
    cells.setRaw(1, 0, 2);
    cells.setRaw(0, 1, 6);
    cells.setRaw(1, 1, 100);
    selection.set(1, 1, false);
    const CellOperationResult stats = run(Op::Statistics);
    EXPECT_EQ(stats.message.plain(), "COUNT=3 MIN=-1.50 AVG=0.83 MAX=3.00");
    EXPECT_FALSE(stats.cellsWritten || stats.selectionChanged);

    // 76800 cells: the shown count wraps at 16 bits, the average does not.
    const auto big = makeMap(300, 256, 8);
    MapCells bigCells = makeCells(*big);
    CellSelection all(300, 256);
    all.selectAll();
    CellInputs two;
    two.rawValue = 2;
    EXPECT_EQ(runCellOperation(Op::IncrementRaw, bigCells, all, two).message.plain(),
              "Raw number added to 11264 cells.");
    EXPECT_EQ(runCellOperation(Op::Statistics, bigCells, all, two).message.plain(),
              "COUNT=11264 MIN=2 AVG=2 MAX=2");

    // A selection of another size than the map is not used.
    CellSelection wrong(3, 3);
    wrong.selectAll();
    EXPECT_TRUE(runCellOperation(Op::IncrementRaw, cells, wrong, two).message.empty());
}

} // namespace
