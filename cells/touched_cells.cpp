#include "cells/touched_cells.h"

#include <algorithm>
#include <cstddef>

CellSelection touchedCells(const MapCells& cells, const std::vector<ByteRange>& ranges)
{
    CellSelection touched(cells.rows(), cells.columns());
    const std::size_t size = static_cast<std::size_t>(CellCodec::cellSize(cells.z()));
    const std::size_t count = cells.cellCount();
    if (size == 0 || count == 0)
        return touched;
    const std::size_t rows = static_cast<std::size_t>(cells.rows());
    const std::size_t columns = static_cast<std::size_t>(cells.columns());
    // The mask runs column by column; so do the cells in X/Y data order.
    const bool columnOrder = (cells.z().flags & AxisDataOrderXY) != 0;
    std::vector<std::uint8_t>& flags = touched.flags();
    for (const ByteRange& range : ranges) {
        if (range.size == 0)
            continue;
        const std::size_t first = range.first / size;
        const std::size_t last = std::min((range.first + range.size - 1) / size, count - 1);
        for (std::size_t cell = first; cell <= last; ++cell)
            flags[columnOrder ? cell : (cell % columns) * rows + cell / columns] = 1;
    }
    return touched;
}
