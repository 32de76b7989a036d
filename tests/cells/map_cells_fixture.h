#pragma once
// Maps and cells for the cell tests and benchmarks.
#include <memory>
#include <string>
#include <vector>

#include "cells/map_cells.h"
#include "common/number_text.h"

// A rows x columns map whose cells (bits, flags, factor, places) all hold raw `fill`.
struct TestCells {
    std::unique_ptr<MapDefinition> map = std::make_unique<MapDefinition>();
    MapCells cells;
    TestCells(int rows, int columns, int bits, std::uint16_t flags = 0, double factor = 1, int places = 0, int fill = 0)
    {
        map->axes[AxisX].count = static_cast<std::uint16_t>(columns);
        map->axes[AxisY].count = static_cast<std::uint16_t>(rows);
        AxisDefinition& z = map->axes[AxisZ];
        z.bits = static_cast<std::uint16_t>(bits);
        z.flags = flags;
        z.factor = factor;
        z.decimalpl = static_cast<std::uint16_t>(places);
        cells.map = map.get();
        cells.workingCopy.assign(CellCodec::blockSize(*map), 0);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < columns; ++c)
                cells.setRaw(r, c, fill);
    }
    // The image kept by the caller is the one compared with.
    void compareWith(const std::vector<std::uint8_t>& image)
    {
        cells.compareImage = image.data();
        cells.compareSize = image.size();
    }
    // Raw values row by row.
    std::vector<std::int32_t> raws() const
    {
        std::vector<std::int32_t> values;
        for (int r = 0; r < cells.rows(); ++r)
            for (int c = 0; c < cells.columns(); ++c)
                values.push_back(cells.raw(r, c));
        return values;
    }
    // The grid's text of an absolute cell: "%i" of raw, or engineering with the places.
    std::string shown(int row, int column, bool rawView) const
    {
        std::string text;
        if (rawView)
            appendInteger(text, cells.raw(row, column));
        else
            appendFixed(text, cells.eng(row, column), cells.z().decimalpl);
        return text;
    }
};
