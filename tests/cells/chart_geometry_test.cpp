#include <gtest/gtest.h>

#include <vector>

#include "cells/chart_geometry.h"

namespace {

TEST(ChartGeometry, PointsLinesAndMarker)
{
    const ChartPen grey = kChartGridPen;
    const ChartPen blue = kChartCurvePen;

    // Nothing below two points.
    const double one[] = {4};
    EXPECT_TRUE(chartGeometry(one, 1, 0, 100, 64).lines.empty());
    EXPECT_TRUE(chartGeometry(nullptr, 0, 0, 100, 64).lines.empty());

    // Flat: one blue line across the middle, no marker.
    const double flat[] = {5, 5, 5};
    const ChartDrawing flatDrawing = chartGeometry(flat, 3, 1, 100, 65);
    EXPECT_EQ(flatDrawing.lines, (std::vector<ChartLine>{{0, 32, 100, 32, blue}}));
    EXPECT_FALSE(flatDrawing.hasMarker);

    // 0, 8 in 100 x 64: point 1 lands on row 64 - 63 = 1.
    const double two[] = {0, 8};
    const ChartDrawing drawing = chartGeometry(two, 2, 1, 100, 64);
    EXPECT_EQ(drawing.lines, (std::vector<ChartLine>{{0, 0, 0, 64, grey},
                                                     {0, 64, 100, 64, grey},
                                                     {100, 0, 100, 64, grey},
                                                     {0, 1, 100, 1, grey},
                                                     {0, 64, 100, 1, blue}}));
    ASSERT_TRUE(drawing.hasMarker);
    EXPECT_EQ(drawing.markerLeft, 95);
    EXPECT_EQ(drawing.markerTop, -4);
    EXPECT_EQ(drawing.markerSize, 10);

    // 0, 10, 20 in 101 x 50: x 0, 50, 101 (truncated).
    const double three[] = {0, 10, -20};
    const ChartDrawing wide = chartGeometry(three, 3, 7, 101, 50);
    EXPECT_EQ(wide.lines[2].x1, 50);
    EXPECT_EQ(wide.lines[4].x1, 101);
    EXPECT_FALSE(wide.hasMarker);   // highlight out of range
    EXPECT_EQ(wide.lines.back(), (ChartLine{50, 1, 101, 50, blue}));   // negative values by spread only

    // Series beyond the 32-bit range span their own values, as any other:
    // the lowest point at the bottom, the highest at the top.
    for (const std::vector<double>& far : {std::vector<double>{3e9, 4e9}, std::vector<double>{-4e9, -3e9}}) {
        const ChartDrawing farDrawing = chartGeometry(far.data(), 2, 0, 10, 10);
        EXPECT_EQ(farDrawing.lines.back(), (ChartLine{0, 10, 10, 1, blue}));
    }
    const double highFlat[] = {3e9, 3e9};
    EXPECT_EQ(chartGeometry(highFlat, 2, 0, 10, 10).lines, (std::vector<ChartLine>{{0, 5, 10, 5, blue}}));
}

} // namespace
