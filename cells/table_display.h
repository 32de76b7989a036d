#pragma once
// What the table editor's grid shows, computed without a display: header
// texts, cell texts, heat colours and the checks a map passes before an
// editor opens on it.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "definitions/map_definition.h"

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb&) const = default;
};

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kRejectedText{255, 0, 0};
// Cells that differ from the compare image, when differences are highlighted.
constexpr Rgb kDifferenceBlue{198, 198, 255};

// The heat colour of a value lying v above the table's minimum, on a table
// whose spread is s (see HeatRange): green for the minimum, through yellow,
// to red for the maximum. The one case where the rule would divide by zero
// (v / s between 272 and 273, and the like) is green 255.
Rgb heatColour(double v, double s);

// Smallest and largest value of a table. Not-a-number values are ignored.
struct HeatRange {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    void add(double v)
    {
        if (v > max)
            max = v;
        if (v < min)
            min = v;
    }
    // The spread the heat colours are measured in: 1/32 of the range.
    double scale() const { return (max - min) * 0.03125; }
};

// More places than a double can carry are never shown: texts use at most
// this many, so that a bogus definition cannot make giant texts.
constexpr int kMaxShownDecimals = 30;

// "%.<places>f" with the places capped as above.
std::string formatDecimals(double value, int places);

// The value truncated toward zero, as a whole number in full ("%i" style for
// any magnitude; "-0" is never shown).
std::string formatWhole(double value);

// A cell's text: a whole number (truncated) or `places` decimals.
std::string cellText(double value, bool wholeNumber, int places);
// The number that text reads back as.
double cellTextValue(double value, bool wholeNumber, int places);

// The texts a cell of `z` shows at its extremes in a view (raw or
// engineering, absolute or difference): a column as wide as the widest of
// them shows every value the cell can hold in full.
std::vector<std::string> extremeCellTexts(const AxisDefinition& z, bool raw, bool difference);

// The header texts of an X or Y axis, one per point (`count`), by the axis's
// source: its labels, values stored in the image at the axis address, or a
// scale from label 0 to label 1 built by repeated addition. Labels past the
// 256th and stored values outside the image give empty texts. An unknown
// source gives no texts at all (the grid keeps its own).
std::vector<std::string> axisHeaderTexts(const AxisDefinition& axis, const std::uint8_t* image,
                                         std::size_t imageSize);

// Whether an editor may open on the map in an image of `imageSize` bytes.
enum class MapFit {
    Fits,
    NoCells,        // "The map has no cells!"
    OutsideImage,   // "The map does not fit in the selected BIN!"
};
MapFit checkMapFits(const MapDefinition& map, std::size_t imageSize);
const char* mapFitMessage(MapFit fit);   // untranslated; empty for Fits
