#pragma once
// Turns the user's pointer and keyboard gestures on the grid into the cell
// selection, spreadsheet fashion: a click starts afresh, dragging or
// Shift spans a block from the anchor, Ctrl adds (or, starting on a selected
// cell, removes) a block while keeping the rest. Row and column header clicks
// act on whole rows and columns.
#include "cells/cell_selection.h"

class SelectionGesture {
public:
    enum class Span { Cells, Rows, Columns };

    explicit SelectionGesture(CellSelection& selection) : m_selection(selection) {}

    // A press on a cell (or a row or column header, with that span).
    void press(int row, int column, bool ctrl, bool shift, Span span = Span::Cells);
    // The pointer moved to this cell with the button held; true when the
    // selection changed.
    bool dragTo(int row, int column);
    // Shift with a cursor key: the far corner of the block moves there.
    void extendTo(int row, int column);
    // The cursor moved without selecting: the next block starts there.
    void setAnchor(int row, int column);

    void clear();
    void selectAll();
    // The selection was changed by other means (an operation selected by
    // value): the next gesture builds on it as it is now.
    void restart();

    int anchorRow() const { return m_anchorRow; }
    int anchorColumn() const { return m_anchorColumn; }
    int extentRow() const { return m_extentRow; }
    int extentColumn() const { return m_extentColumn; }

private:
    void apply();

    CellSelection& m_selection;
    CellSelection m_base;        // the selection before the current block
    bool m_baseEmpty = true;     // m_base holds nothing (not even copied)
    int m_anchorRow = 0;
    int m_anchorColumn = 0;
    int m_extentRow = 0;
    int m_extentColumn = 0;
    Span m_span = Span::Cells;
    bool m_blockActive = false;  // the block anchor..extent is part of the selection
    bool m_selecting = true;     // the block selects (else deselects)
};
