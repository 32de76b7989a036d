#pragma once
// The line chart of the table editor's side panel as pure geometry: the
// lines and the marker to draw for a series of values in a w x h area. The
// chart panel draws exactly this and nothing else.
#include <cstdint>
#include <vector>

#include "cells/table_display.h"

struct ChartPen {
    Rgb colour;
    int width = 1;
    bool operator==(const ChartPen&) const = default;
};

struct ChartLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    ChartPen pen;
    bool operator==(const ChartLine&) const = default;
};

constexpr ChartPen kChartGridPen{{144, 144, 144}, 1};
constexpr ChartPen kChartCurvePen{{0, 0, 255}, 2};
constexpr ChartPen kChartMarkerPen{{255, 0, 0}, 1};   // filled with red

struct ChartDrawing {
    std::vector<ChartLine> lines;   // in drawing order: grid lines, then the curve
    bool hasMarker = false;
    // The box of the filled circle on the highlighted point (10 x 10).
    int markerLeft = 0, markerTop = 0, markerSize = 10;
};

// Fewer than 2 values draw nothing; a flat series one blue line across the
// middle; otherwise a grey grid line through every point, the blue curve over
// them and the red marker on point `highlight` (none if it is out of range).
ChartDrawing chartGeometry(const double* values, int count, int highlight, int width, int height);
