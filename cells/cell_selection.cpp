#include "cells/cell_selection.h"

#include <algorithm>
#include <cstring>
#include <iterator>

void CellSelection::resize(int rows, int columns)
{
    m_rows = std::max(rows, 0);
    m_columns = std::max(columns, 0);
    m_flags.assign(static_cast<std::size_t>(m_rows) * static_cast<std::size_t>(m_columns), 0);
}

void CellSelection::setBlock(int top, int left, int bottom, int right, bool selected)
{
    if (top > bottom)
        std::swap(top, bottom);
    if (left > right)
        std::swap(left, right);
    top = std::max(top, 0);
    left = std::max(left, 0);
    bottom = std::min(bottom, m_rows - 1);
    right = std::min(right, m_columns - 1);
    if (top > bottom || left > right)
        return;
    for (int column = left; column <= right; ++column) {
        std::uint8_t* first = m_flags.data() + index(top, column);
        std::memset(first, selected ? 1 : 0, static_cast<std::size_t>(bottom - top + 1));
    }
}

void CellSelection::clear()
{
    std::fill(m_flags.begin(), m_flags.end(), std::uint8_t{0});
}

void CellSelection::selectAll()
{
    std::fill(m_flags.begin(), m_flags.end(), std::uint8_t{1});
}

void CellSelection::invert()
{
    for (std::uint8_t& flag : m_flags)
        flag ^= 1;
}

std::size_t CellSelection::count() const
{
    std::size_t n = 0;
    for (std::uint8_t flag : m_flags)
        n += flag;
    return n;
}

bool CellSelection::any() const
{
    return std::find(m_flags.begin(), m_flags.end(), std::uint8_t{1}) != m_flags.end();
}

bool CellSelection::bounds(int& top, int& left, int& bottom, int& right) const
{
    bool found = false;
    int minRow = m_rows;
    int maxRow = -1;
    int minColumn = m_columns;
    int maxColumn = -1;
    for (int column = 0; column < m_columns; ++column) {
        const std::uint8_t* first = m_flags.data() + index(0, column);
        const std::uint8_t* last = first + m_rows;
        const std::uint8_t* hit = std::find(first, last, std::uint8_t{1});
        if (hit == last)
            continue;
        found = true;
        minColumn = std::min(minColumn, column);
        maxColumn = column;
        minRow = std::min(minRow, static_cast<int>(hit - first));
        // base() of the reverse hit is one past the column's last selected cell.
        const auto lastHit = std::find(std::make_reverse_iterator(last), std::make_reverse_iterator(first),
                                       std::uint8_t{1});
        maxRow = std::max(maxRow, static_cast<int>(lastHit.base() - first) - 1);
    }
    if (!found)
        return false;
    top = minRow;
    left = minColumn;
    bottom = maxRow;
    right = maxColumn;
    return true;
}
