#pragma once
// What differs between two ROM images, map by map, and which bytes differ
// outside every map: the review a tuner makes before a modified image goes
// into a car. The "first" image is the one being reviewed (the selected BIN),
// the "second" the one it is measured against; a difference is first minus
// second, as the table editor's difference view shows it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "common/status_text.h"
#include "definitions/map_definition.h"

struct MapDifference {
    int map = 0;                  // slot index in the store
    std::string title;            // as the store held it when compared
    std::string units;            // of the Z axis
    // False: the cells or the stored axis values do not lie wholly inside
    // both images, so the map was not compared.
    bool fits = true;
    std::size_t cells = 0;        // cells whose bytes differ
    // The engineering difference of the largest magnitude among those cells
    // (the first of equal magnitudes), and its text as the editor shows it.
    double largest = 0.0;
    std::string largestText;
    std::size_t axisValues = 0;   // X and Y values stored in the image that differ
};

struct RegionDifference {
    std::uint32_t address = 0;
    std::uint32_t length = 0;
};

struct ImageDifferences {
    std::vector<MapDifference> maps;         // in map-list order; maps that are equal are left out
    std::vector<RegionDifference> regions;   // in address order
    std::size_t regionBytes = 0;
    std::size_t mapsNotFitting = 0;

    std::size_t rowCount() const { return maps.size() + regions.size(); }
    bool same() const { return maps.empty() && regions.empty(); }
};

// Compares every map of the store (cells and stored axis values) and every
// byte outside the maps that were compared (the bytes of a map that does not
// fit either image count as outside). Bytes beyond the shorter image all
// count as differing, outside the maps, as one region of their own.
ImageDifferences compareImages(std::span<const std::uint8_t> first, std::span<const std::uint8_t> second,
                               const DefinitionStore& store);

// The rows of the list: the maps first, then the regions.
enum DifferenceColumn { ColumnName, ColumnCount, ColumnLargest, ColumnUnits, ColumnAxisValues, kDifferenceColumns };

// The map slot a row stands for, or -1 for a region.
int differenceRowMap(const ImageDifferences& differences, std::size_t row);

// One cell of the list. A map: title, cells that differ, largest difference,
// units, stored axis values that differ (empty when none); a map that was
// not compared says so in the cells column. Tabs and line breaks in a title
// or units become blanks. A region: "0x" and its address
// in hexadecimal, its length in bytes.
StatusText differenceCellText(const ImageDifferences& differences, std::size_t row, int column);

// Every row as tab-separated fields (the cells above), rows separated by
// newlines, trailing empty fields left out. `translate` looks up the fixed texts.
std::string differencesText(const ImageDifferences& differences,
                            const std::function<std::string(const std::string&)>& translate);

// "Maps that differ: 12. Regions outside the maps: 3 (40 bytes)." and the like.
StatusText differencesSummary(const ImageDifferences& differences);
