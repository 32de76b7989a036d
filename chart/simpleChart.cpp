#include "chart/simpleChart.h"

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
    const ChartPen* current = nullptr;
    for (const ChartLine& line : drawing.lines) {
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
