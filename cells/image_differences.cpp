#include "cells/image_differences.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "cells/cell_codec.h"
#include "cells/table_display.h"
#include "common/hex_format.h"
#include "common/number_text.h"

namespace {

// Bytes [begin, end) of an image; may lie partly or wholly past its end.
struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool empty() const { return end <= begin; }
    bool inside(std::size_t size) const { return empty() || end <= size; }
};

// Values of a width no image stores (0 for a map still to be completed after
// an import) lie nowhere: such a map is neither compared nor hides bytes.
bool realWidth(const AxisDefinition& axis)
{
    return axis.bits == 8 || axis.bits == 16 || axis.bits == 32;
}

// The map's block of cells, as the table editor copies it out and back.
Span cellSpan(const MapDefinition& map)
{
    if (!realWidth(map.axes[AxisZ]))
        return {};
    const std::size_t address = map.axes[AxisZ].address;
    return {address, address + CellCodec::blockSize(map)};
}

// The values of an X or Y axis stored in the image; empty for other sources.
Span storedAxisSpan(const AxisDefinition& axis)
{
    if (axis.embeddedinfotype != SourceEmbedded || !realWidth(axis))
        return {};
    const std::size_t address = axis.address;
    return {address, address + std::size_t(axis.count) * std::size_t(CellCodec::cellSize(axis))};
}

bool mapFits(const MapDefinition& map, std::size_t size)
{
    return cellSpan(map).inside(size) && storedAxisSpan(map.axes[AxisX]).inside(size) &&
           storedAxisSpan(map.axes[AxisY]).inside(size);
}

// Compares the cells of a map that lies inside both images. Cells are taken
// in memory order: neither the count nor the largest difference depends on it.
void compareCells(const std::uint8_t* first, const std::uint8_t* second, const MapDefinition& map,
                  MapDifference& result)
{
    const Span span = cellSpan(map);
    if (span.empty() || std::memcmp(first + span.begin, second + span.begin, span.end - span.begin) == 0)
        return;
    const AxisDefinition& z = map.axes[AxisZ];
    const std::size_t count = std::size_t(map.axes[AxisX].count) * map.axes[AxisY].count;
    const std::size_t width = (span.end - span.begin) / count;
    double largestMagnitude = -1.0;
    for (std::size_t position = span.begin; position < span.end; position += width) {
        if (std::memcmp(first + position, second + position, width) == 0)
            continue;
        ++result.cells;
        const double difference =
            CellCodec::readEngValue(first, position, z) - CellCodec::readEngValue(second, position, z);
        const double magnitude = std::fabs(difference);
        if (magnitude > largestMagnitude) {
            largestMagnitude = magnitude;
            result.largest = difference;
        }
    }
    result.largestText = cellText(result.largest, z.outputtype == OutputInteger, z.decimalpl);
}

std::size_t compareStoredAxis(const std::uint8_t* first, const std::uint8_t* second, const AxisDefinition& axis)
{
    const Span span = storedAxisSpan(axis);
    if (span.empty() || std::memcmp(first + span.begin, second + span.begin, span.end - span.begin) == 0)
        return 0;
    const std::size_t width = std::size_t(CellCodec::cellSize(axis));
    std::size_t differing = 0;
    for (std::size_t position = span.begin; position < span.end; position += width)
        differing += std::memcmp(first + position, second + position, width) != 0;
    return differing;
}

// The bytes of every map that lies inside the first `size` bytes (cells and
// stored axis values), sorted and merged. A map that does not fit was not
// compared, so its bytes are left to the regions: no change goes unlisted.
std::vector<Span> coveredSpans(const DefinitionStore& store, std::size_t size)
{
    std::vector<Span> spans;
    for (int slot = 0; slot < store.mapCount && slot < kMaxMaps; ++slot) {
        const MapDefinition& map = store.maps[slot];
        if (!mapFits(map, size))
            continue;
        for (const Span& span : {cellSpan(map), storedAxisSpan(map.axes[AxisX]), storedAxisSpan(map.axes[AxisY])}) {
            if (!span.empty())
                spans.push_back(span);
        }
    }
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) { return a.begin < b.begin; });
    std::vector<Span> merged;
    for (const Span& span : spans) {
        if (!merged.empty() && span.begin <= merged.back().end)
            merged.back().end = std::max(merged.back().end, span.end);
        else
            merged.push_back(span);
    }
    return merged;
}

// Collects runs of differing bytes; a run continues only from the byte
// right after the previous one.
class RegionCollector {
public:
    explicit RegionCollector(ImageDifferences& out) : m_out(out) {}
    void add(std::size_t begin, std::size_t end)
    {
        if (m_open && begin == m_end) {
            m_end = end;
            return;
        }
        flush();
        m_open = true;
        m_begin = begin;
        m_end = end;
    }
    void flush()
    {
        if (!m_open)
            return;
        m_out.regions.push_back({static_cast<std::uint32_t>(m_begin), static_cast<std::uint32_t>(m_end - m_begin)});
        m_out.regionBytes += m_end - m_begin;
        m_open = false;
    }

private:
    ImageDifferences& m_out;
    bool m_open = false;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
};

// Runs of differing bytes in [begin, end): equal stretches are skipped eight
// bytes at a time.
void scanGap(const std::uint8_t* first, const std::uint8_t* second, std::size_t begin, std::size_t end,
             RegionCollector& regions)
{
    std::size_t p = begin;
    while (p < end) {
        while (p + 8 <= end) {
            std::uint64_t a, b;
            std::memcpy(&a, first + p, 8);
            std::memcpy(&b, second + p, 8);
            if (a != b)
                break;
            p += 8;
        }
        while (p < end && first[p] == second[p])
            ++p;
        if (p == end)
            break;
        const std::size_t runBegin = p;
        while (p < end && first[p] != second[p])
            ++p;
        regions.add(runBegin, p);
    }
}

// A text from the store on one line of the list, and a field of a
// tab-separated row: no tab or line break of its own.
std::string oneLine(std::string text)
{
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
    return text;
}

std::string countText(std::size_t count)
{
    std::string text;
    appendInteger(text, static_cast<std::int64_t>(count));
    return text;
}

} // namespace

ImageDifferences compareImages(std::span<const std::uint8_t> first, std::span<const std::uint8_t> second,
                               const DefinitionStore& store)
{
    ImageDifferences result;
    const std::uint8_t* a = first.data();
    const std::uint8_t* b = second.data();
    for (int slot = 0; slot < store.mapCount && slot < kMaxMaps; ++slot) {
        const MapDefinition& map = store.maps[slot];
        MapDifference difference;
        difference.map = slot;
        if (!mapFits(map, first.size()) || !mapFits(map, second.size())) {
            difference.fits = false;
            ++result.mapsNotFitting;
        } else {
            compareCells(a, b, map, difference);
            difference.axisValues =
                compareStoredAxis(a, b, map.axes[AxisX]) + compareStoredAxis(a, b, map.axes[AxisY]);
            if (difference.cells == 0 && difference.axisValues == 0)
                continue;
        }
        difference.title = map.title;
        difference.units = map.axes[AxisZ].units;
        result.maps.push_back(std::move(difference));
    }

    const std::size_t shorter = std::min(first.size(), second.size());
    const std::size_t longer = std::max(first.size(), second.size());
    RegionCollector regions(result);
    std::size_t p = 0;
    for (const Span& covered : coveredSpans(store, shorter)) {
        scanGap(a, b, p, covered.begin, regions);
        p = covered.end;
    }
    scanGap(a, b, p, shorter, regions);
    if (longer > shorter) {
        // A change just before the shorter image's end stays visible on its own.
        regions.flush();
        regions.add(shorter, longer);
    }
    regions.flush();
    return result;
}

int differenceRowMap(const ImageDifferences& differences, std::size_t row)
{
    return row < differences.maps.size() ? differences.maps[row].map : -1;
}

StatusText differenceCellText(const ImageDifferences& differences, std::size_t row, int column)
{
    StatusText text;
    if (row < differences.maps.size()) {
        const MapDifference& map = differences.maps[row];
        switch (column) {
        case ColumnName:
            return text.literal(oneLine(map.title));
        case ColumnCount:
            return map.fits ? text.literal(countText(map.cells)) : text.fixed("does not fit");
        case ColumnLargest:
            return map.cells > 0 ? text.literal(map.largestText) : text;
        case ColumnUnits:
            return map.fits ? text.literal(oneLine(map.units)) : text;
        case ColumnAxisValues:
            return map.axisValues > 0 ? text.literal(countText(map.axisValues)) : text;
        default:
            return text;
        }
    }
    row -= differences.maps.size();
    if (row >= differences.regions.size())
        return text;
    const RegionDifference& region = differences.regions[row];
    if (column == ColumnName)
        return text.literal("0x" + formatHex(region.address));
    if (column == ColumnCount)
        return text.literal(countText(region.length));
    return text;
}

std::string differencesText(const ImageDifferences& differences,
                            const std::function<std::string(const std::string&)>& translate)
{
    std::string text;
    for (std::size_t row = 0; row < differences.rowCount(); ++row) {
        std::vector<std::string> fields;
        for (int column = 0; column < kDifferenceColumns; ++column)
            fields.push_back(differenceCellText(differences, row, column).compose(translate));
        while (!fields.empty() && fields.back().empty())
            fields.pop_back();
        if (row > 0)
            text += '\n';
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0)
                text += '\t';
            text += fields[i];
        }
    }
    return text;
}

StatusText differencesSummary(const ImageDifferences& differences)
{
    if (differences.same())
        return StatusText("The BINs are the same.");
    StatusText text;
    text.fixed("Maps that differ: ").literal(countText(differences.maps.size() - differences.mapsNotFitting));
    if (differences.mapsNotFitting > 0)
        text.fixed(". Maps that do not fit: ").literal(countText(differences.mapsNotFitting));
    text.fixed(". Regions outside the maps: ").literal(countText(differences.regions.size()));
    text.fixed(" (bytes: ").literal(countText(differences.regionBytes)).fixed(").");
    return text;
}
