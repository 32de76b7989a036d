#include <gtest/gtest.h>

#include "cells/touched_cells.h"
#include "map_cells_fixture.h"

namespace {

TEST(TouchedCells, ByteRangesBecomeTheirCellsInEitherDataOrder)
{
    struct Row {
        int bits;
        std::uint16_t flags;
        std::vector<ByteRange> ranges;
        std::vector<std::pair<int, int>> cells;   // (row, column), 2 rows x 3 columns
    };
    const Row rows[] = {
        {8, 0, {{1, 1}, {3, 2}}, {{0, 1}, {1, 0}, {1, 1}}},        // row by row
        {8, AxisDataOrderXY, {{1, 1}, {3, 2}}, {{1, 0}, {1, 1}, {0, 2}}},
        {16, 0, {{1, 2}}, {{0, 0}, {0, 1}}},                        // a range across two cells
        {16, AxisDataOrderXY, {{10, 50}, {0, 0}}, {{1, 2}}},        // past the block, empty
    };
    for (const Row& row : rows) {
        TestCells t(2, 3, row.bits, row.flags);
        CellSelection expected(2, 3);
        for (auto [r, c] : row.cells)
            expected.set(r, c);
        EXPECT_EQ(touchedCells(t.cells, row.ranges), expected) << row.bits << " bits, flags " << row.flags;
    }
}

} // namespace
