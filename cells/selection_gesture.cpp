#include "cells/selection_gesture.h"

void SelectionGesture::press(int row, int column, bool ctrl, bool shift, Span span)
{
    m_span = span;
    if (shift) {
        // Extends from the anchor over the selection as it was before the block.
        m_extentRow = row;
        m_extentColumn = column;
        m_blockActive = true;
        apply();
        return;
    }
    m_anchorRow = m_extentRow = row;
    m_anchorColumn = m_extentColumn = column;
    if (ctrl) {
        m_base = m_selection;
        m_baseEmpty = false;
        m_selecting = !m_selection.isSelected(row, column);
        m_blockActive = true;
    } else {
        m_baseEmpty = true;
        m_selecting = true;
        // A plain click on a cell only places the cursor; a header click
        // selects its whole row or column at once.
        m_blockActive = span != Span::Cells;
    }
    apply();
}

bool SelectionGesture::dragTo(int row, int column)
{
    // Still over the cell the block ends at (or, before any move, the anchor).
    if (row == m_extentRow && column == m_extentColumn)
        return false;
    m_extentRow = row;
    m_extentColumn = column;
    m_blockActive = true;
    apply();
    return true;
}

void SelectionGesture::extendTo(int row, int column)
{
    m_extentRow = row;
    m_extentColumn = column;
    m_blockActive = true;
    apply();
}

void SelectionGesture::setAnchor(int row, int column)
{
    m_anchorRow = m_extentRow = row;
    m_anchorColumn = m_extentColumn = column;
    m_span = Span::Cells;
    m_selecting = true;
    restart();
}

void SelectionGesture::clear()
{
    m_selection.clear();
    m_baseEmpty = true;
    m_blockActive = false;
}

void SelectionGesture::selectAll()
{
    m_selection.selectAll();
    restart();
}

void SelectionGesture::restart()
{
    m_blockActive = false;
    m_baseEmpty = !m_selection.any();
    if (!m_baseEmpty)
        m_base = m_selection;
}

void SelectionGesture::apply()
{
    if (m_baseEmpty)
        m_selection.clear();
    else
        m_selection = m_base;
    if (!m_blockActive)
        return;
    int top = m_anchorRow;
    int bottom = m_extentRow;
    int left = m_anchorColumn;
    int right = m_extentColumn;
    if (m_span == Span::Rows) {
        left = 0;
        right = m_selection.columns() - 1;
    } else if (m_span == Span::Columns) {
        top = 0;
        bottom = m_selection.rows() - 1;
    }
    m_selection.setBlock(top, left, bottom, right, m_selecting);
}
