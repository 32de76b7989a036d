#pragma once
// One map's cells as the table editor holds them: the working copy of the
// map's block, the definition that describes it and, when one is chosen, the
// compare image. Rows are Y indices, columns X indices; every access goes
// through the cell codec.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cells/cell_codec.h"
#include "definitions/map_definition.h"

struct MapCells {
    const MapDefinition* map = nullptr;    // read live from the store
    std::vector<std::uint8_t> workingCopy;  // blockSize(map) bytes
    // The whole compare image (not just the map's block); null when none is chosen.
    const std::uint8_t* compareImage = nullptr;
    std::size_t compareSize = 0;

    int rows() const { return map->axes[AxisY].count; }
    int columns() const { return map->axes[AxisX].count; }
    const AxisDefinition& z() const { return map->axes[AxisZ]; }

    std::size_t offset(int row, int column) const { return CellCodec::cellOffset(*map, column, row); }

    std::int32_t raw(int row, int column) const
    {
        return CellCodec::readRawValue(workingCopy.data(), offset(row, column), z());
    }
    double eng(int row, int column) const
    {
        return CellCodec::readEngValue(workingCopy.data(), offset(row, column), z());
    }
    void setRaw(int row, int column, std::int32_t value)
    {
        CellCodec::writeRawValue(workingCopy.data(), offset(row, column), z(), value);
    }
    void setEng(int row, int column, double value)
    {
        CellCodec::writeEngValue(workingCopy.data(), offset(row, column), z(), value);
    }

    bool hasCompare() const { return compareImage != nullptr; }
    // The same cell in the compare image. A cell that does not lie wholly
    // inside a shorter compare image counts as 0 there.
    std::int32_t compareRaw(int row, int column) const
    {
        const std::size_t position = comparePosition(row, column);
        return position == kOutside ? 0 : CellCodec::readRawValue(compareImage, position, z());
    }
    double compareEng(int row, int column) const
    {
        const std::size_t position = comparePosition(row, column);
        return position == kOutside ? 0.0 : CellCodec::readEngValue(compareImage, position, z());
    }

private:
    static constexpr std::size_t kOutside = static_cast<std::size_t>(-1);
    std::size_t comparePosition(int row, int column) const
    {
        if (!compareImage)
            return kOutside;
        const std::size_t position = std::size_t(z().address) + offset(row, column);
        const std::size_t size = static_cast<std::size_t>(CellCodec::cellSize(z()));
        if (position > compareSize || size > compareSize - position)
            return kOutside;
        return position;
    }
};
