#pragma once
// The table editor's grid as the toolkit sees it: a virtual table whose texts
// and colours come on demand from the grid model and the cell selection, a
// handful of shared cell attributes, and the translation of the user's
// pointer and keyboard gestures into the cell selection. wxGrid's own
// selection stays unused (the grid runs with wxGridSelectNone): it cannot
// hold arbitrary patterns at speed.
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include <wx/grid.h>

#include "cells/cell_selection.h"
#include "cells/selection_gesture.h"
#include "cells/table_grid_model.h"

class TableGridTable : public wxGridTableBase {
public:
    // Header texts per column and row; an empty list keeps the grid's own
    // labels (A, B, ... and 1, 2, ...).
    TableGridTable(TableGridModel& model, const CellSelection& selection, std::vector<std::string> columnLabels,
                   std::vector<std::string> rowLabels);

    int GetNumberRows() override { return m_model.rows(); }
    int GetNumberCols() override { return m_model.columns(); }
    bool IsEmptyCell(int, int) override { return false; }
    // The text as shown: typed by the user, or formatted from the value.
    wxString GetValue(int row, int col) override;
    // The editor hands over the typed text; the grid then reports the change.
    void SetValue(int row, int col, const wxString& value) override;
    wxString GetColLabelValue(int col) override;
    wxString GetRowLabelValue(int row) override;

    // New header texts (stored axis values read anew), as the constructor takes them.
    void setLabels(std::vector<std::string> columnLabels, std::vector<std::string> rowLabels);

    // Colours of selected cells (the grid's selection colours).
    void setSelectionColours(const wxColour& background, const wxColour& text);

private:
    friend class TableGridAttrProvider;
    TableGridModel& m_model;
    const CellSelection& m_selection;
    std::vector<wxString> m_columnLabels;
    std::vector<wxString> m_rowLabels;
    wxColour m_selectionBackground;
    wxColour m_selectionText;
};

// Hands out one shared attribute per look (heat colour, white, light blue,
// selected; default, black or red text) instead of one per cell.
class TableGridAttrProvider : public wxGridCellAttrProvider {
public:
    explicit TableGridAttrProvider(const TableGridTable& table) : m_table(table) {}
    wxGridCellAttr* GetAttr(int row, int col, wxGridCellAttr::wxAttrKind kind) const override;

private:
    wxGridCellAttr* shared(std::uint32_t key, const wxColour& background, const wxColour* text) const;

    const TableGridTable& m_table;
    mutable std::unordered_map<std::uint32_t, wxGridCellAttrPtr> m_cache;
};

// Mouse presses and drags on the cells, header clicks, Shift with the cursor
// keys and Ctrl+A become selection gestures; `changed` repaints.
class GridSelectionInput {
public:
    GridSelectionInput(wxGrid* grid, SelectionGesture& gesture, std::function<void()> changed);

private:
    void onLeftDown(wxMouseEvent& event);
    void onMotion(wxMouseEvent& event);
    void onLeftUp(wxMouseEvent& event);
    void onLabelClick(wxGridEvent& event);
    void onKeyDown(wxKeyEvent& event);
    void onCurrentCell(wxGridEvent& event);
    bool cellAt(const wxPoint& position, bool clip, int& row, int& col) const;

    wxGrid* m_grid;
    SelectionGesture& m_gesture;
    std::function<void()> m_changed;
    bool m_dragging = false;
    // Set by a plain cursor key: the anchor follows the cursor when it lands.
    bool m_anchorFollowsCursor = false;
};

// Delete and Backspace (with or without Ctrl, Shift or Alt) on a cell open its editor with the whole text
// selected (typing replaces it, Enter keeps it), where the grid's own way
// would open it with one character already removed: a value never changes
// unless a new one was typed.
void guardDeleteKeys(wxGrid* grid);

// Scroll bars that do not fade in and out over the grid.
void keepScrollBarsStill(wxGrid* grid);
