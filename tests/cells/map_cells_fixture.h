#pragma once
// Maps and cells for the cell tests and benchmarks: a map of the given size
// and cell layout with a zeroed working copy, and the grid's text of a cell.
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "cells/map_cells.h"
#include "common/number_text.h"

inline std::unique_ptr<MapDefinition> makeMap(int rows, int columns, int bits, std::uint16_t flags = 0,
                                              double factor = 1.0, double offset = 0.0, int places = 0)
{
    auto map = std::make_unique<MapDefinition>();
    map->title = "Test map";
    map->axes[AxisX].count = static_cast<std::uint16_t>(columns);
    map->axes[AxisY].count = static_cast<std::uint16_t>(rows);
    AxisDefinition& z = map->axes[AxisZ];
    z.bits = static_cast<std::uint16_t>(bits);
    z.flags = flags;
    z.factor = factor;
    z.offset = offset;
    z.decimalpl = static_cast<std::uint16_t>(places);
    return map;
}

inline MapCells makeCells(const MapDefinition& map)
{
    MapCells cells;
    cells.map = &map;
    cells.workingCopy.assign(CellCodec::blockSize(map), 0);
    return cells;
}

// The grid's text of an absolute cell: "%i" of the raw value in the raw
// view, else the engineering value with the Z axis's places.
inline std::string shownText(const MapCells& cells, int row, int column, bool rawView)
{
    std::string text;
    if (rawView)
        appendInteger(text, cells.raw(row, column));
    else
        appendFixed(text, cells.eng(row, column), cells.z().decimalpl);
    return text;
}
