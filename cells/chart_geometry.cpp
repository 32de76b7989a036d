#include "cells/chart_geometry.h"

#include <cmath>

namespace {

// Real to pixel: truncation toward zero, kept within what a drawing context
// takes (a not-a-number value sits at 0).
int pixel(double value)
{
    if (!(value > -1e6))
        return value < 0 ? -1000000 : 0;
    if (value > 1e6)
        return 1000000;
    return static_cast<int>(value);
}

} // namespace

ChartDrawing chartGeometry(const double* values, int count, int highlight, int width, int height)
{
    ChartDrawing drawing;
    if (count < 2 || !values)
        return drawing;

    // The range of the values themselves, however far beyond 32 bits.
    double min = INFINITY;
    double max = -INFINITY;
    for (int i = 0; i < count; ++i) {
        if (values[i] > max)
            max = values[i];
        if (values[i] < min)
            min = values[i];
    }
    if (!(min < max)) {   // all equal (or none a number)
        drawing.lines.push_back({0, height / 2, width, height / 2, kChartCurvePen});
        return drawing;
    }

    const double xstep = double(width) / (count - 1);
    const double yscale = (max - min) / height;
    std::vector<int> xs(count);
    std::vector<int> ys(count);   // drawn at h - y
    for (int i = 0; i < count; ++i) {
        xs[i] = pixel(i * xstep);
        int y = pixel((values[i] - min) / yscale);
        if (y >= height)
            y = height - 1;
        ys[i] = height - y;
    }

    drawing.lines.reserve(std::size_t(count) * 3);
    for (int i = 0; i < count; ++i) {
        drawing.lines.push_back({xs[i], 0, xs[i], height, kChartGridPen});
        drawing.lines.push_back({0, ys[i], width, ys[i], kChartGridPen});
    }
    for (int i = 1; i < count; ++i)
        drawing.lines.push_back({xs[i - 1], ys[i - 1], xs[i], ys[i], kChartCurvePen});

    if (highlight >= 0 && highlight < count) {
        drawing.hasMarker = true;
        drawing.markerLeft = xs[highlight] - 5;
        drawing.markerTop = ys[highlight] - 5;
    }
    return drawing;
}
