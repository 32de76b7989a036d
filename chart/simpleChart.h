#pragma once
// A small line chart: one series scaled to fill the panel, a grey grid line
// through every point and a red dot on the highlighted one. The owner sizes
// the series, writes the values and the highlight index, then refreshes.
#include <vector>

#include <wx/panel.h>

class wxDC;
class wxPaintEvent;

class simpleChart : public wxPanel {
public:
    explicit simpleChart(wxWindow* parent);

    // A fresh series of n values, all 0, highlighting point 0.
    void setChartSize(int n);

    int count() const { return static_cast<int>(m_values.size()); }
    // The series; the owner writes value i for 0 <= i < count().
    double* values() { return m_values.data(); }
    const double* values() const { return m_values.data(); }

    int highlightIndex() const { return m_highlightIndex; }
    void setHighlightIndex(int index) { m_highlightIndex = index; }

    // Draws the whole chart on the context, over its full size.
    void renderChart(wxDC& dc);

    // A picture to look at: Tab passes it by.
    bool AcceptsFocusFromKeyboard() const override { return false; }

private:
    void onPaint(wxPaintEvent& event);

    std::vector<double> m_values;
    int m_highlightIndex = 0;
};
