#include <tuple>

#include <gtest/gtest.h>

#include "cells/cell_operations.h"
#include "map_cells_fixture.h"

namespace {

using Op = CellOperation;
using Mode = OperationMode;
constexpr Mode R = Mode::Raw, P = Mode::Percent, E = Mode::Engineering;
constexpr unsigned kPct = FieldPercent, kEng = FieldEngineering;
constexpr unsigned kCorners = FieldTopLeft | FieldTopRight | FieldBottomLeft | FieldBottomRight;

CellInputs in(Mode mode, std::int32_t raw, const char* percent, const char* eng,
              std::array<std::string, 4> corners = {"1", "2", "3", "4"})
{
    return {raw, percent, eng, std::move(corners), mode};
}

// Cell (1, 2) of a 3 x 3 map holds `before`, its neighbours 7; only that
// cell, when selected, may change, and refused input changes nothing.
TEST(CellOperations, StepsAndFillWriteOnlyTheSelectedCells)
{
    struct Row {
        char layout;   // u: unsigned 8-bit, e: 16-bit x 0.1 with one place
        bool selected;
        Op op;
        CellInputs in;
        std::int32_t before, after;
        const char* message;
        unsigned accepted, rejected;
    };
    const Row rows[] = {
        {'u', true, Op::IncrementRaw, in(E, 10, "", ""), 240, 250, "Raw number added to 1 cells.", 0, 0},
        {'u', true, Op::IncrementRaw, in(E, 10, "", ""), 250, 255, "Raw number added to 1 cells. 1 cells held at a limit.", 0, 0},
        {'u', true, Op::DecrementRaw, in(R, 10, "", ""), 3, 0, "Raw number subtracted from 1 cells. 1 cells held at a limit.", 0, 0},
        {'u', true, Op::DecrementRaw, in(R, -2147483647, "", ""), 3, 255, "Raw number subtracted from 1 cells. 1 cells held at a limit.", 0, 0},
        {'e', true, Op::IncrementPercent, in(R, 0, "10", ""), 500, 550, "Percentage added to 1 cells.", kPct, 0},
        {'e', true, Op::DecrementPercent, in(P, 0, "10", ""), 550, 495, "Percentage subtracted from 1 cells.", kPct, 0},
        {'e', true, Op::IncrementPercent, in(R, 0, "+1e1", ""), 0, 0, "Percentage added to 1 cells.", kPct, 0},
        {'e', true, Op::IncrementEngineering, in(R, 0, "", "2.5"), 500, 525, "Engineering number added to 1 cells.", kEng, 0},
        {'e', true, Op::DecrementEngineering, in(R, 0, "", " 2.5 "), 500, 475, "Engineering number subtracted from 1 cells.", kEng, 0},
        {'e', true, Op::IncrementEngineering, in(R, 0, "", "0.1"), 65535, 65535, "Engineering number added to 1 cells. 1 cells held at a limit.", kEng, 0},
        {'e', true, Op::IncrementPercent, in(R, 0, "-300", ""), 500, 0, "Percentage added to 1 cells. 1 cells held at a limit.", kPct, 0},
        {'u', true, Op::Fill, in(R, 300, "", "x"), 1, 255, "Raw number set on 1 cells. 1 cells held at a limit.", 0, 0},
        {'e', true, Op::Fill, in(E, 5, "", "12.34"), 1, 123, "Engineering number set on 1 cells.", kEng, 0},
        {'e', true, Op::Fill, in(E, 5, "", "-0.1"), 1, 0, "Engineering number set on 1 cells. 1 cells held at a limit.", kEng, 0},
        {'u', true, Op::Fill, in(P, 9, "9", "9"), 1, 1, "Filling is only available for raw & engineering numbers.", 0, 0},
        {'e', true, Op::IncrementPercent, in(R, 0, "", "1"), 1, 1, "Please insert a number in the percentage field!", 0, 0},
        {'e', true, Op::DecrementPercent, in(R, 0, "abc", "1"), 1, 1, "This is not a valid number!", 0, kPct},
        {'e', true, Op::DecrementEngineering, in(R, 0, "1", ""), 1, 1, "Please insert a number in the engineering field!", 0, 0},
        {'e', true, Op::IncrementEngineering, in(R, 0, "1", "1x"), 1, 1, "This is not a valid number!", 0, kEng},
        {'e', true, Op::Fill, in(E, 0, "1", ""), 1, 1, "This is not a valid number!", 0, kEng},
        {'e', false, Op::IncrementRaw, in(R, 3, "", ""), 1, 1, "Raw number added to 0 cells.", 0, 0},
        {'e', false, Op::DecrementPercent, in(R, 0, "10", ""), 9, 9, "Percentage subtracted from 0 cells.", kPct, 0},
        {'e', false, Op::IncrementEngineering, in(R, 0, "", "1"), 9, 9, "Engineering number added to 0 cells.", kEng, 0},
        {'e', false, Op::Fill, in(E, 0, "", "1"), 9, 9, "Engineering number set on 0 cells.", kEng, 0},
        {'e', false, Op::Interpolate, in(R, 0, "", ""), 9, 9, "Interpolation set on 0 cells.", kCorners, 0},
        {'e', false, Op::Statistics, in(R, 0, "", ""), 9, 9, "COUNT=0 MIN=2147483647.0 AVG=nan MAX=-2147483647.0", 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        const bool e = row.layout == 'e';
        TestCells t(3, 3, e ? 16 : 8, 0, e ? 0.1 : 1, e, 7);
        t.cells.setRaw(1, 2, row.before);
        CellSelection selection(3, 3);
        selection.set(1, 2, row.selected);
        const CellSelection selectedBefore = selection;
        std::vector<std::int32_t> expected = t.raws();
        expected[5] = row.after;

        const CellOperationResult result = runCellOperation(row.op, t.cells, selection, row.in);
        EXPECT_EQ(result.message.plain(), row.message);
        EXPECT_EQ(t.raws(), expected);
        EXPECT_EQ(selection, selectedBefore);
        EXPECT_EQ(result.acceptedFields, row.accepted);
        EXPECT_EQ(result.rejectedFields, row.rejected);
        EXPECT_EQ(result.cellsWritten, std::string(row.message).find(" 1 cells.") != std::string::npos);
        EXPECT_FALSE(result.selectionChanged);
    }
}

// A 3 x 5 map of signed 16-bit cells (x 0.5, one place) all holding raw 100;
// what the ramp added is checked cell by cell, in raw units.
TEST(CellOperations, InterpolationAddsTheRampToSelectedCellsOfTheBlock)
{
    struct Row {
        Mode mode;
        std::array<std::string, 4> corners;
        std::vector<std::array<int, 4>> blocks;   // selected: top, left, bottom, right; a 0-sized last one is a hole
        std::vector<std::int32_t> added;          // row by row
        const char* message;
        unsigned rejected;
    };
    const std::vector<std::int32_t> none(15, 0);
    const Row rows[] = {
        // 3 x 3, the middle cell unselected.
        {R, {"0", "10", "20", "30"}, {{0, 1, 2, 3}, {1, 2, -1, -1}}, {0, 0, 5, 10, 0, 0, 10, 0, 20, 0, 0, 20, 25, 30, 0}, "Interpolation set on 8 cells.", 0},
        {R, {"0", "1", "0", "1"}, {{0, 0, 2, 2}}, {0, 1, 1, 0, 0, 0, 1, 1, 0, 0, 0, 1, 1, 0, 0}, "Interpolation set on 9 cells.", 0},
        {E, {"1.5", "99", "3.5", "-99"}, {{0, 4, 2, 4}}, {0, 0, 0, 0, 3, 0, 0, 0, 0, 5, 0, 0, 0, 0, 7}, "Interpolation set on 3 cells.", 0},
        {E, {"0", "8", "100", "100"}, {{1, 0, 1, 4}}, {0, 0, 0, 0, 0, 0, 4, 8, 12, 16, 0, 0, 0, 0, 0}, "Interpolation set on 5 cells.", 0},
        {R, {"-3", "8", "9", "9"}, {{2, 2, 2, 2}}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -3, 0, 0}, "Interpolation set on 1 cells.", 0},
        {R, {"40000", "0", "-40000", "0"}, {{0, 0, 2, 0}}, {32667, 0, 0, 0, 0, 0, 0, 0, 0, 0, -32868, 0, 0, 0, 0}, "Interpolation set on 3 cells. 2 cells held at a limit.", 0},
        {E, {"1e6", "0", "0", "0"}, {{0, 0, 0, 1}}, {32667, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "Interpolation set on 2 cells. 1 cells held at a limit.", 0},
        // Corners whose spread overflows a double still ramp through the middle.
        {E, {"1e308", "1e308", "-1e308", "-1e308"}, {{0, 0, 2, 0}}, {32667, 0, 0, 0, 0, 0, 0, 0, 0, 0, -32868, 0, 0, 0, 0}, "Interpolation set on 3 cells. 2 cells held at a limit.", 0},
        {R, {"0", "40", "8", "48"}, {{0, 0, 0, 0}, {2, 4, 2, 4}}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 48}, "Interpolation set on 2 cells.", 0},
        {R, {"0", "1.5", "x", "0"}, {{0, 0, 2, 4}}, none, "This is not a valid number!", FieldTopRight},
        {E, {"0", "1", "2", ""}, {{0, 0, 2, 4}}, none, "This is not a valid number!", FieldBottomRight},
        {P, {"x", "x", "x", "x"}, {{0, 0, 2, 4}}, none, "Interpolation is only available for raw & engineering numbers.", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.corners[0] + " " + row.corners[1] + " " + row.message);
        TestCells t(3, 5, 16, AxisSigned, 0.5, 1, 100);
        CellSelection selection(3, 5);
        for (const auto& b : row.blocks)
            b[2] < 0 ? selection.set(b[0], b[1], false) : selection.setBlock(b[0], b[1], b[2], b[3]);
        const CellSelection selectedBefore = selection;
        const CellOperationResult result = runCellOperation(Op::Interpolate, t.cells, selection, in(row.mode, 0, "", "", row.corners));
        std::vector<std::int32_t> added = t.raws();
        for (std::int32_t& value : added)
            value -= 100;
        EXPECT_EQ(added, row.added);
        EXPECT_EQ(result.message.plain(), row.message);
        EXPECT_EQ(result.acceptedFields, row.rejected || row.mode == P ? 0 : kCorners);
        EXPECT_EQ(result.rejectedFields, row.rejected);
        EXPECT_EQ(selection, selectedBefore);
    }
}

// Cells of a 2 x 3 map (x 0.01, one place), column by column: raw 123 (1.2),
// 125 (1.25, rounded 1.3), 0, 130 (1.3), 200 (2.0), 123 (1.2).
TEST(CellOperations, SelectionByValueReplacesTheSelectionWithTheMatches)
{
    struct Row {
        Mode mode;
        std::int32_t raw;
        const char* eng;
        Op op;
        std::vector<std::uint8_t> flags;   // column by column
        const char* message;
    };
    const std::vector<std::uint8_t> before = {1, 1, 0, 0, 0, 0};
    const Row rows[] = {
        {R, 123, "x", Op::SelectEqual, {1, 0, 0, 0, 0, 1}, "Selected 2 cells."},
        {R, 125, "", Op::SelectGreaterOrEqual, {0, 1, 0, 1, 1, 0}, "Selected 3 cells."},
        {E, 0, "1.3", Op::SelectEqual, {0, 1, 0, 1, 0, 0}, "Selected 2 cells."},
        {E, 0, "1.3", Op::SelectGreaterOrEqual, {0, 1, 0, 1, 1, 0}, "Selected 3 cells."},
        {E, 0, "-1", Op::SelectGreaterOrEqual, {1, 1, 1, 1, 1, 1}, "Selected 6 cells."},
        {E, 0, "", Op::SelectEqual, before, "This is not a valid number!"},
        {E, 0, "1,3", Op::SelectGreaterOrEqual, before, "This is not a valid number!"},
        {P, 0, "1", Op::SelectEqual, before, "Selection by value is only available for raw & engineering numbers."},
    };
    TestCells t(2, 3, 16, 0, 0.01, 1);
    const std::int32_t values[] = {123, 125, 0, 130, 200, 123};
    for (int i = 0; i < 6; ++i)
        t.cells.setRaw(i % 2, i / 2, values[i]);
    const std::vector<std::int32_t> cellsBefore = t.raws();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        CellSelection selection(2, 3);
        selection.flags() = before;
        const CellOperationResult result = runCellOperation(row.op, t.cells, selection, in(row.mode, row.raw, "", row.eng));
        const bool refused = row.mode == P || std::string(row.message).find("valid") != std::string::npos;
        EXPECT_EQ(selection.flags(), row.flags);
        EXPECT_EQ(result.message.plain(), row.message);
        EXPECT_EQ(result.acceptedFields, row.mode == E && !refused ? kEng : 0);
        EXPECT_EQ(result.rejectedFields, row.mode == E && refused ? kEng : 0);
        EXPECT_EQ(result.selectionChanged, !refused);
        EXPECT_EQ(t.raws(), cellsBefore);
    }
}

TEST(CellOperations, SelectionCommandsStatisticsAndFullCounts)
{
    TestCells t(2, 2, 8, AxisSigned, 0.5, 2);
    CellSelection selection(2, 2);
    const auto run = [&](Op op) { return runCellOperation(op, t.cells, selection, {}); };
    // Nothing selected inverts to everything, everything to nothing; then a partial selection.
    const std::tuple<Op, std::vector<std::uint8_t>, const char*> steps[] = {
        {Op::InvertSelection, {1, 1, 1, 1}, "Selected 4 cells."},
        {Op::InvertSelection, {0, 0, 0, 0}, "Selected 0 cells."},
        {Op::SelectAll, {1, 1, 1, 1}, "Selected 4 cells."},
        {Op::ClearSelection, {0, 0, 0, 0}, "Selection cleared."}};
    for (const auto& [op, flags, message] : steps) {
        const CellOperationResult result = run(op);
        EXPECT_TRUE(result.selectionChanged);
        EXPECT_EQ(result.message.plain(), message);
        EXPECT_EQ(selection.flags(), flags);
    }
    selection.set(0, 1);
    run(Op::InvertSelection);
    EXPECT_EQ(selection.flags(), (std::vector<std::uint8_t>{1, 1, 0, 1}));

    const std::int32_t values[] = {-3, 2, 6, 100};   // column by column; the last is left out
    for (int i = 0; i < 4; ++i)
        t.cells.setRaw(i % 2, i / 2, values[i]);
    selection.selectAll();
    selection.set(1, 1, false);
    const CellOperationResult stats = run(Op::Statistics);
    EXPECT_EQ(stats.message.plain(), "COUNT=3 MIN=-1.50 AVG=0.83 MAX=3.00");
    EXPECT_FALSE(stats.cellsWritten || stats.selectionChanged);

    // 76800 cells: counts are shown in full.
    TestCells big(300, 256, 8);
    CellSelection all(300, 256);
    all.selectAll();
    CellInputs two;
    two.rawValue = 2;
    EXPECT_EQ(runCellOperation(Op::IncrementRaw, big.cells, all, two).message.plain(), "Raw number added to 76800 cells.");
    EXPECT_EQ(runCellOperation(Op::Statistics, big.cells, all, two).message.plain(), "COUNT=76800 MIN=2 AVG=2 MAX=2");
    CellSelection wrongSize(3, 3);   // does not fit the map: not used
    EXPECT_TRUE(runCellOperation(Op::IncrementRaw, t.cells, wrongSize, two).message.empty());
}

// MIN and MAX are values of selected cells, however far from the 32-bit
// range; with no cell selected the steps, fill and statistics take the
// cursor cell, while interpolation and selection by value keep to the selection.
TEST(CellOperations, StatisticsAndTheCursorCellWithoutASelection)
{
    const struct {
        int bits;
        std::uint16_t flags;
        double factor;
        std::int32_t first, second;
        const char* message;
        int places = 0;
    } statistics[] = {
        {32, 0, 1, -1, -2, "COUNT=2 MIN=4294967294 AVG=4294967294 MAX=4294967295"},   // FF FF FF FF and FE
        {32, AxisSigned, 1000, -3000000, -2000000, "COUNT=2 MIN=-3000000000 AVG=-2500000000 MAX=-2000000000"},
        // A definition's bogus places make no giant text: as many as the grid shows at most.
        {8, 0, 0.5, 3, 1, "COUNT=2 MIN=0.500000000000000000000000000000 AVG=1.000000000000000000000000000000 "
                          "MAX=1.500000000000000000000000000000", 65535},
    };
    for (const auto& row : statistics) {
        TestCells t(1, 3, row.bits, row.flags, row.factor, row.places);
        t.cells.setRaw(0, 0, row.first);
        t.cells.setRaw(0, 2, row.second);
        CellSelection selection(1, 3);
        selection.set(0, 0);
        selection.set(0, 2);
        EXPECT_EQ(runCellOperation(Op::Statistics, t.cells, selection, {}).message.plain(), row.message);
    }

    const struct {
        Op op;
        int cursorRow, cursorColumn;
        std::int32_t after;   // cell (1, 2), which holds 10
        const char* message;
    } rows[] = {
        {Op::IncrementRaw, 1, 2, 13, "Raw number added to 1 cells."},
        {Op::DecrementEngineering, 1, 2, 6, "Engineering number subtracted from 1 cells."},
        {Op::IncrementPercent, 1, 2, 15, "Percentage added to 1 cells."},
        {Op::Fill, 1, 2, 3, "Raw number set on 1 cells."},
        {Op::Statistics, 1, 2, 10, "COUNT=1 MIN=10 AVG=10 MAX=10"},
        {Op::IncrementRaw, -1, -1, 10, "Raw number added to 0 cells."},
        {Op::IncrementRaw, 1, 3, 10, "Raw number added to 0 cells."},   // the cursor lies outside the table
        {Op::Statistics, -1, -1, 10, "COUNT=0 MIN=2147483647 AVG=nan MAX=-2147483647"},
        {Op::Interpolate, 1, 2, 10, "Interpolation set on 0 cells."},
        {Op::SelectEqual, 1, 2, 10, "Selected 0 cells."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message);
        TestCells t(2, 3, 16, 0, 1, 0, 7);
        t.cells.setRaw(1, 2, 10);
        std::vector<std::int32_t> expected = t.raws();
        expected[5] = row.after;
        CellSelection selection(2, 3);
        CellInputs inputs = in(R, 3, "50", "4");
        inputs.cursorRow = row.cursorRow;
        inputs.cursorColumn = row.cursorColumn;
        const CellOperationResult result = runCellOperation(row.op, t.cells, selection, inputs);
        EXPECT_EQ(result.message.plain(), row.message);
        EXPECT_EQ(t.raws(), expected);
        EXPECT_EQ(result.onCursorCell, row.after != 10);
        EXPECT_FALSE(selection.any());
    }
}

} // namespace
