#pragma once
// One map's cells as the table editor holds them: the working copy of the
// map's block, the definition that describes it and, when one is chosen, the
// compare image. Rows are Y indices, columns X indices; every access goes
// through the cell codec.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cells/cell_codec.h"
#include "definitions/map_definition.h"
#include "rom/rom_image.h"

struct MapCells {
    // The editor's own copy of the definition, taken at opening: the block's
    // size never changes under the working copy.
    const MapDefinition* map = nullptr;
    std::vector<std::uint8_t> workingCopy;  // blockSize(map) bytes
    // The compare image, when one is chosen: either a fixed image...
    const std::uint8_t* compareImage = nullptr;
    std::size_t compareSize = 0;
    // ...or a ROM buffer read live (it may be reloaded with another size or
    // emptied while an editor is open); it takes precedence when set.
    const RomBuffer* compareBuffer = nullptr;

    int rows() const { return map->axes[AxisY].count; }
    int columns() const { return map->axes[AxisX].count; }
    std::size_t cellCount() const { return std::size_t(rows()) * std::size_t(columns()); }
    const AxisDefinition& z() const { return map->axes[AxisZ]; }

    std::size_t offset(int row, int column) const { return CellCodec::cellOffset(*map, column, row); }

    std::int32_t raw(int row, int column) const { return rawAt(offset(row, column)); }
    double eng(int row, int column) const { return engAt(offset(row, column)); }
    void setRaw(int row, int column, std::int32_t value)
    {
        CellCodec::writeRawValue(workingCopy.data(), offset(row, column), z(), value);
    }
    // The writes the user causes: held at the cell's limits, true when held
    // (see CellCodec::storeRawValue, storeCellNumber and writeEngValue).
    bool storeRaw(int row, int column, double raw)
    {
        return CellCodec::storeRawValue(workingCopy.data(), offset(row, column), z(), raw);
    }
    bool setEng(int row, int column, double value)
    {
        return CellCodec::writeEngValue(workingCopy.data(), offset(row, column), z(), value);
    }
    // The cell's own number (unsigned 32-bit cells read 0..4294967295), for
    // arithmetic that must not wrap.
    std::int64_t number(int row, int column) const
    {
        return numberAt(offset(row, column));
    }
    bool storeNumber(int row, int column, double number)
    {
        return CellCodec::storeCellNumber(workingCopy.data(), offset(row, column), z(), number);
    }

    // The source image changed under the working copy (a load, a copy, an
    // Apply from another editor): every cell still as it is in `base` takes
    // the image's new bytes (0 past its end), a cell changed since keeps its
    // own; `base` becomes the image's block. Returns how many cells were kept.
    std::size_t takeUpSource(std::vector<std::uint8_t>& base, const RomBuffer& source)
    {
        std::vector<std::uint8_t> fresh(workingCopy.size(), 0);
        const std::size_t bytes = std::min(source.data.size(), static_cast<std::size_t>(std::max(source.size, 0)));
        const std::size_t address = z().address;
        if (address < bytes)
            std::copy_n(source.data.begin() + static_cast<std::ptrdiff_t>(address),
                        std::min(bytes - address, fresh.size()), fresh.begin());
        base.resize(workingCopy.size());
        const int cellBytes = CellCodec::cellSize(z());
        const std::size_t unit = cellBytes > 0 ? static_cast<std::size_t>(cellBytes) : workingCopy.size();
        std::size_t kept = 0;
        for (std::size_t at = 0; at < workingCopy.size(); at += unit) {
            const auto n = static_cast<std::ptrdiff_t>(std::min(unit, workingCopy.size() - at));
            const auto cell = workingCopy.begin() + static_cast<std::ptrdiff_t>(at);
            if (std::equal(cell, cell + n, base.begin() + static_cast<std::ptrdiff_t>(at)))
                std::copy_n(fresh.begin() + static_cast<std::ptrdiff_t>(at), n, cell);
            else
                ++kept;
        }
        base = std::move(fresh);
        return kept;
    }

    bool hasCompare() const { return compareBuffer != nullptr || compareImage != nullptr; }
    // The same cell in the compare image. A cell that does not lie wholly
    // inside a shorter compare image counts as 0 there.
    double compareEng(int row, int column) const { return compareEngAt(offset(row, column)); }
    // A raw difference written back: the compare cell's own number plus the
    // difference, held at the cell's limits (an unsigned 32-bit cell of
    // 3000000000 plus 2000000000 holds at 4294967295 rather than wrapping).
    bool storeRawDifference(int row, int column, double difference)
    {
        return storeNumber(row, column, double(compareNumber(row, column)) + difference);
    }
    // The compare cell's own number (0 outside a shorter compare image).
    std::int64_t compareNumber(int row, int column) const
    {
        return compareNumberAt(offset(row, column));
    }

    // The same by the cell's offset in the block (cellOffset), for passes over
    // every cell in memory order.
    std::int32_t rawAt(std::size_t offset) const
    {
        return CellCodec::readRawValue(workingCopy.data(), offset, z());
    }
    double engAt(std::size_t offset) const { return CellCodec::readEngValue(workingCopy.data(), offset, z()); }
    // The cells' own numbers: a raw difference is one of these, as its writes
    // (storeRawDifference) take it, so an unsigned 32-bit cell of 0x80000000
    // against one of 0x7FFFFFFF differs by 1, not by -4294967295.
    std::int64_t numberAt(std::size_t offset) const
    {
        return CellCodec::readCellNumber(workingCopy.data(), offset, z());
    }
    std::int64_t compareNumberAt(std::size_t offset) const
    {
        const std::size_t position = comparePosition(offset);
        return position == kOutside ? 0 : CellCodec::readCellNumber(compareData(), position, z());
    }
    double compareEngAt(std::size_t offset) const
    {
        const std::size_t position = comparePosition(offset);
        return position == kOutside ? 0.0 : CellCodec::readEngValue(compareData(), position, z());
    }

    // Whether Apply would change `source`: the working copy differs from the
    // map's block there, or the block no longer lies wholly inside the image.
    bool differsFrom(const RomBuffer& source) const
    {
        const std::size_t bytes = std::min(source.data.size(), static_cast<std::size_t>(std::max(source.size, 0)));
        const std::size_t address = z().address;
        if (address > bytes || workingCopy.size() > bytes - address)
            return true;
        return !std::equal(workingCopy.begin(), workingCopy.end(),
                           source.data.begin() + static_cast<std::ptrdiff_t>(address));
    }

private:
    static constexpr std::size_t kOutside = static_cast<std::size_t>(-1);
    const std::uint8_t* compareData() const { return compareBuffer ? compareBuffer->data.data() : compareImage; }
    std::size_t compareBytes() const
    {
        if (compareBuffer)
            return std::min(compareBuffer->data.size(), static_cast<std::size_t>(std::max(compareBuffer->size, 0)));
        return compareImage ? compareSize : 0;
    }
    std::size_t comparePosition(std::size_t offset) const
    {
        if (!hasCompare())
            return kOutside;
        const std::size_t bytes = compareBytes();
        const std::size_t position = std::size_t(z().address) + offset;
        const std::size_t size = static_cast<std::size_t>(CellCodec::cellSize(z()));
        if (position > bytes || size > bytes - position)
            return kOutside;
        return position;
    }
};
