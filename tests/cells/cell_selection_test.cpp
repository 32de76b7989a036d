#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "cells/cell_selection.h"

namespace {

std::vector<std::pair<int, int>> visited(const CellSelection& selection)
{
    std::vector<std::pair<int, int>> cells;
    selection.forEachSelected([&](int row, int column) { cells.emplace_back(row, column); });
    return cells;
}

TEST(CellSelection, VisitsColumnByColumnAndKeepsBoundsCountAndInversion)
{
    CellSelection selection(4, 3);
    EXPECT_FALSE(selection.any());
    int top = -1, left = -1, bottom = -1, right = -1;
    EXPECT_FALSE(selection.bounds(top, left, bottom, right));

    selection.setBlock(2, 2, 1, 1);   // corners in any order
    selection.set(3, 0);
    selection.set(9, 9);              // outside: ignored
    EXPECT_EQ(visited(selection),
              (std::vector<std::pair<int, int>>{{3, 0}, {1, 1}, {2, 1}, {1, 2}, {2, 2}}));
    EXPECT_EQ(selection.count(), 5u);
    ASSERT_TRUE(selection.bounds(top, left, bottom, right));
    EXPECT_EQ((std::vector<int>{top, left, bottom, right}), (std::vector<int>{1, 0, 3, 2}));

    selection.invert();
    EXPECT_EQ(selection.count(), 7u);
    EXPECT_FALSE(selection.isSelected(1, 1));
    EXPECT_TRUE(selection.isSelected(0, 0));
    selection.selectAll();
    selection.invert();   // a full grid inverts to nothing
    EXPECT_FALSE(selection.any());
    selection.setBlock(-5, -5, 99, 99);   // clipped to the grid
    EXPECT_EQ(selection.count(), 12u);
}

} // namespace
