#include "chart/simpleChart.h"

#include <algorithm>

#include <wx/brush.h>
#include <wx/dcbuffer.h>
#include <wx/pen.h>

#include "cells/chart_geometry.h"

namespace {

wxColour colourOf(const Rgb& rgb)
{
    return wxColour(rgb.red, rgb.green, rgb.blue);
}

wxPen penOf(const ChartPen& pen)
{
    return wxPen(colourOf(pen.colour), pen.width, wxPENSTYLE_SOLID);
}

} // namespace

simpleChart::simpleChart(wxWindow* parent) : wxPanel()
{
    // Painted whole on every paint, through a buffer: no flicker on resize.
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Create(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxTAB_TRAVERSAL | wxNO_BORDER);
    Bind(wxEVT_PAINT, &simpleChart::onPaint, this);
}

void simpleChart::setChartSize(int n)
{
    m_values.assign(n > 0 ? static_cast<std::size_t>(n) : 0, 0.0);
    m_highlightIndex = 0;
}

void simpleChart::renderChart(wxDC& dc)
{
    const wxSize size = dc.GetSize();
    const ChartDrawing drawing = chartGeometry(m_values.data(), count(), m_highlightIndex, size.x, size.y);
    // A long series puts many grid lines on one pixel row or column. One
    // stroke there is one grey line, as the chart means it (more would only
    // darken its smoothed edges), and strokes are what a chart of thousands
    // of points spends its time on: the largest map's cursor moves went
    // from half a second to a tenth.
    std::vector<bool> columns(std::size_t(std::max(size.x, 0)) + 2), rows(std::size_t(std::max(size.y, 0)) + 2);
    const auto drawnBefore = [](std::vector<bool>& drawn, int at) {
        if (at < 0 || std::size_t(at) >= drawn.size())
            return false;
        const bool before = drawn[std::size_t(at)];
        drawn[std::size_t(at)] = true;
        return before;
    };
    const ChartPen* current = nullptr;
    for (const ChartLine& line : drawing.lines) {
        if (line.pen == kChartGridPen) {
            const bool across = line.y1 == line.y2 && line.x1 == 0 && line.x2 == size.x;
            const bool down = line.x1 == line.x2 && line.y1 == 0 && line.y2 == size.y;
            if ((across && drawnBefore(rows, line.y1)) || (down && drawnBefore(columns, line.x1)))
                continue;
        }
        if (!current || !(*current == line.pen)) {
            dc.SetPen(penOf(line.pen));
            current = &line.pen;
        }
        dc.DrawLine(line.x1, line.y1, line.x2, line.y2);
    }
    if (drawing.hasMarker) {
        dc.SetPen(penOf(kChartMarkerPen));
        dc.SetBrush(*wxRED_BRUSH);
        dc.DrawEllipse(drawing.markerLeft, drawing.markerTop, drawing.markerSize, drawing.markerSize);
    }
}

void simpleChart::onPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    // The panel's own background first, as an erase would give it.
    dc.SetBackground(wxBrush(GetBackgroundColour()));
    dc.Clear();
    renderChart(dc);
}
