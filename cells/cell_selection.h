#pragma once
// The table editor's cell selection: one flag per cell of a rows x columns
// grid, stored column by column because every operation visits the cells in
// that order. Any pattern (a checkerboard of two million cells) costs the
// same as a block, and every query is a plain array access.
#include <cstddef>
#include <cstdint>
#include <vector>

class CellSelection {
public:
    CellSelection() = default;
    CellSelection(int rows, int columns) { resize(rows, columns); }

    // Empties the selection and gives it a new size.
    void resize(int rows, int columns);

    int rows() const { return m_rows; }
    int columns() const { return m_columns; }

    bool isSelected(int row, int column) const { return inside(row, column) && m_flags[index(row, column)]; }
    void set(int row, int column, bool selected = true)
    {
        if (inside(row, column))
            m_flags[index(row, column)] = selected;
    }
    // The block between two corners, both included; corners outside are clipped.
    void setBlock(int top, int left, int bottom, int right, bool selected = true);

    void clear();
    void selectAll();
    // Every cell flips: with nothing selected, everything becomes selected.
    void invert();

    std::size_t count() const;
    bool any() const;

    // The smallest block holding every selected cell; false when none is.
    bool bounds(int& top, int& left, int& bottom, int& right) const;

    // Calls visit(row, column) for each selected cell, column by column and
    // top to bottom within a column.
    template <typename Visit>
    void forEachSelected(Visit&& visit) const
    {
        std::size_t i = 0;
        for (int column = 0; column < m_columns; ++column)
            for (int row = 0; row < m_rows; ++row, ++i)
                if (m_flags[i])
                    visit(row, column);
    }

    // The flags, column by column (index = column x rows + row).
    const std::vector<std::uint8_t>& flags() const { return m_flags; }
    std::vector<std::uint8_t>& flags() { return m_flags; }

    bool operator==(const CellSelection&) const = default;

private:
    bool inside(int row, int column) const
    {
        return row >= 0 && column >= 0 && row < m_rows && column < m_columns;
    }
    std::size_t index(int row, int column) const
    {
        return static_cast<std::size_t>(column) * static_cast<std::size_t>(m_rows) + static_cast<std::size_t>(row);
    }

    int m_rows = 0;
    int m_columns = 0;
    std::vector<std::uint8_t> m_flags;   // 1 = selected
};
