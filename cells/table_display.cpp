#include "cells/table_display.h"

#include <algorithm>
#include <cmath>

#include "cells/cell_codec.h"
#include "common/number_text.h"

Rgb heatColour(double v, double s)
{
    const double m = v / s;
    if (m < 16) {
        std::uint8_t red = 0;
        if (m >= 1) {
            const int n = static_cast<int>(m);   // 1..15
            red = static_cast<std::uint8_t>(255 - 255 / n);
        }
        return {red, 255, 0};
    }
    // 16 or more, or not a number.
    if (m < 17)
        return {255, 255, 0};
    // trunc(M) as a 16-bit integer (out of its range, and NaN, give -32768),
    // then its low 8 bits.
    const std::int16_t k16 = m < 32768.0 ? static_cast<std::int16_t>(m) : std::int16_t{-32768};
    const int k = static_cast<std::uint8_t>(k16);
    if (k == 16)
        return {255, 255, 0};
    return {255, static_cast<std::uint8_t>(255 / (k - 16)), 0};
}

std::string formatDecimals(double value, int places)
{
    return formatFixed(value, std::clamp(places, 0, kMaxShownDecimals));
}

std::string formatWhole(double value)
{
    return formatFixed(std::trunc(value) + 0.0, 0);
}

std::string cellText(double value, bool wholeNumber, int places)
{
    return wholeNumber ? formatWhole(value) : formatDecimals(value, places);
}

double cellTextValue(double value, bool wholeNumber, int places)
{
    return wholeNumber ? std::trunc(value) + 0.0 : fixedTextValue(value, std::clamp(places, 0, kMaxShownDecimals));
}

std::vector<std::string> extremeCellTexts(const AxisDefinition& z, bool raw, bool difference)
{
    double lowest = 0, highest = 0;
    if (!CellCodec::cellLimits(z, lowest, highest))
        return {cellText(0, true, 0)};
    if (raw && z.bits == 32) {   // the raw view shows 32-bit cells as signed numbers
        lowest = std::numeric_limits<std::int32_t>::min();
        highest = std::numeric_limits<std::int32_t>::max();
    }
    if (!raw) {
        const double a = CellCodec::roundToDecimals((lowest + z.offset) * z.factor, z.decimalpl);
        const double b = CellCodec::roundToDecimals((highest + z.offset) * z.factor, z.decimalpl);
        lowest = std::min(a, b);
        highest = std::max(a, b);
    }
    if (difference) {
        const double spread = highest - lowest;
        lowest = -spread;
        highest = spread;
    }
    const bool whole = raw || z.outputtype == OutputInteger;
    return {cellText(lowest, whole, z.decimalpl), cellText(highest, whole, z.decimalpl)};
}

std::vector<std::string> axisHeaderTexts(const AxisDefinition& axis, const std::uint8_t* image,
                                         std::size_t imageSize)
{
    std::vector<std::string> texts;
    const int count = axis.count;
    const int places = axis.decimalpl;
    switch (axis.embeddedinfotype) {
    case SourceManual:
        texts.reserve(count);
        for (int i = 0; i < count; ++i)
            texts.push_back(i < kMaxLabels ? formatDecimals(axis.labels[i], places) : std::string());
        break;
    case SourceEmbedded:
        texts.reserve(count);
        for (int i = 0; i < count; ++i) {
            double value = 0;
            if (!CellCodec::readStoredAxisValue(image, imageSize, axis, i, value))
                texts.emplace_back();
            else
                texts.push_back(cellText(value, axis.outputtype == OutputInteger, places));
        }
        break;
    case SourceScaled: {
        texts.reserve(count);
        const double step = (axis.labels[1] - axis.labels[0]) / (count - 1);
        double value = axis.labels[0];
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                value += step;   // repeated addition, as the headers always were
            texts.push_back(formatDecimals(value, places));
        }
        break;
    }
    default:
        break;
    }
    return texts;
}

namespace {

bool storedValuesFit(const AxisDefinition& axis, std::size_t imageSize)
{
    if (axis.embeddedinfotype != SourceEmbedded || axis.count == 0)
        return true;
    const std::size_t size = static_cast<std::size_t>(CellCodec::cellSize(axis));
    const std::size_t address = axis.address;
    const std::size_t length = std::size_t(axis.count) * size;
    return address <= imageSize && length <= imageSize - address;
}

} // namespace

MapFit checkMapFits(const MapDefinition& map, std::size_t imageSize)
{
    if (map.axes[AxisX].count == 0 || map.axes[AxisY].count == 0)
        return MapFit::NoCells;
    if (!CellCodec::blockFits(map, imageSize) || !storedValuesFit(map.axes[AxisX], imageSize) ||
        !storedValuesFit(map.axes[AxisY], imageSize))
        return MapFit::OutsideImage;
    return MapFit::Fits;
}

const char* mapFitMessage(MapFit fit)
{
    switch (fit) {
    case MapFit::NoCells:
        return "The map has no cells!";
    case MapFit::OutsideImage:
        return "The map does not fit in the selected BIN!";
    default:
        return "";
    }
}
