#include "definitions/map_form.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "cells/cell_codec.h"
#include "cells/table_display.h"
#include "common/hex_format.h"
#include "common/number_text.h"

namespace {

std::uint16_t axisFlags(const AxisForm& axis, bool withDataOrder)
{
    return static_cast<std::uint16_t>((axis.sign ? AxisSigned : 0) | (axis.byteOrder ? AxisLsbFirst : 0) |
                                      (withDataOrder && axis.dataOrder ? AxisDataOrderXY : 0));
}

double numberOrZero(const std::string& text)
{
    return parseNumber(text).value_or(0.0);
}

// Texts of the values stored in the image for an "Embedded" axis.
std::vector<std::string> storedValueTexts(const AxisDefinition& axis, int count, const std::uint8_t* image,
                                          std::size_t imageSize, bool integer, int decimals)
{
    std::vector<std::string> texts(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        double value = 0.0;
        if (CellCodec::readStoredAxisValue(image, imageSize, axis, i, value))
            texts[static_cast<std::size_t>(i)] = displayValueText(value, integer, decimals);
    }
    return texts;
}

} // namespace

int typeIndex(std::uint16_t outputtype)
{
    return outputtype == OutputInteger ? 0 : 1;
}

std::uint16_t outputTypeOf(int index)
{
    return index == 0 ? OutputInteger : OutputFloat;
}

int decimalsIndex(std::uint16_t decimalpl)
{
    return std::min<int>(decimalpl, kDecimalsChoices - 1);
}

std::uint16_t decimalsOf(int index)
{
    return static_cast<std::uint16_t>(std::clamp(index, 0, kDecimalsChoices - 1));
}

int bitsIndex(std::uint16_t bits)
{
    return bits == 8 ? 0 : bits == 32 ? 2 : 1;
}

std::uint16_t bitsOf(int index)
{
    return index == 0 ? 8 : index == 2 ? 32 : 16;
}

int sourceIndex(std::uint16_t embeddedinfotype)
{
    return embeddedinfotype <= SourceScaled ? int(embeddedinfotype) : int(SourceManual);
}

std::uint16_t sourceOf(int index)
{
    return static_cast<std::uint16_t>(index >= SourceManual && index <= SourceScaled ? index : int(SourceManual));
}

std::uint32_t parseHexAddress(const std::string& text)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < text.size() && i < 8; ++i) {
        const char c = text[i];
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::optional<double> parseNumber(const std::string& text)
{
    double value = 0;
    if (!numberFromText(text, value))
        return std::nullopt;
    return value;
}

std::optional<long long> parseInteger(const std::string& text)
{
    std::int64_t value = 0;
    if (!integerFromText(text, value))
        return std::nullopt;
    return value;
}

std::string editableNumberText(double value, int decimals)
{
    // More places come below only where the value needs them to read back.
    decimals = std::clamp(decimals, 0, kMaxShownDecimals);
    std::string text = formatFixed(value, decimals);
    if (!std::isfinite(value))
        return text;
    // Every double reads back exactly from its full decimal expansion, which
    // ends within 1074 places; ordinary values need a place or two more.
    for (int places = decimals + 1; parseNumber(text) != value && places <= 1100; ++places)
        text = formatFixed(value, places);
    return text;
}

std::string displayValueText(double value, bool integer, int decimals)
{
    if (!integer)
        return formatDecimals(value, decimals);
    const double whole = std::trunc(value);
    // Unsigned 32-bit values and large factors leave the int range behind.
    if (whole > -9223372036854775808.0 && whole < 9223372036854775808.0) {
        char text[24];
        std::snprintf(text, sizeof text, "%lld", static_cast<long long>(whole));
        return text;
    }
    return formatFixed(whole, 0);
}

std::optional<LabelRows> labelRowsFor(const AxisForm& axis)
{
    if (axis.source == SourceScaled)
        return LabelRows{2, true};
    const std::optional<long long> count = parseInteger(axis.count);
    if (!count)
        return std::nullopt;
    // Typed labels beyond the axis's 256 could not be kept: no row offers one.
    const int most = axis.source == SourceManual ? kMaxLabels : kMaxLabelRows;
    return LabelRows{static_cast<int>(std::clamp<long long>(*count, 0, most)), false};
}

std::optional<std::vector<std::string>> previewLabels(const AxisForm& axis, const std::uint8_t* image,
                                                      std::size_t imageSize)
{
    if (axis.source != SourceEmbedded)
        return std::nullopt;
    const std::optional<long long> count = parseInteger(axis.count);
    const std::optional<double> offset = parseNumber(axis.offset);
    const std::optional<double> factor = parseNumber(axis.factor);
    if (!count || !offset || !factor)
        return std::nullopt;
    AxisDefinition read;
    read.address = parseHexAddress(axis.address);
    if (read.address > imageSize || !image || imageSize == 0 || *count == 0)
        return std::nullopt;
    read.flags = axisFlags(axis, false);
    read.bits = bitsOf(axis.bits);
    read.decimalpl = decimalsOf(axis.decimals);
    read.offset = *offset;
    read.factor = *factor;
    const int rows = static_cast<int>(std::clamp<long long>(*count, 0, kMaxLabelRows));
    return storedValueTexts(read, rows, image, imageSize, axis.type == 0, read.decimalpl);
}

MapForm formFromMap(const MapDefinition& map, const std::uint8_t* image, std::size_t imageSize)
{
    MapForm form;
    form.title = map.title;
    form.description = map.description;
    for (int a = AxisX; a <= AxisZ; ++a) {
        const AxisDefinition& axis = map.axes[a];
        AxisForm& f = form.axes[a];
        f.count = std::to_string(axis.count);
        f.units = axis.units;
        f.type = typeIndex(axis.outputtype);
        f.decimals = decimalsIndex(axis.decimalpl);
        f.offset = editableNumberText(axis.offset, 6);
        f.factor = editableNumberText(axis.factor, 6);
        f.source = sourceIndex(axis.embeddedinfotype);
        f.address = formatHex(axis.address);
        f.sign = (axis.flags & AxisSigned) ? 1 : 0;
        f.bits = bitsIndex(axis.bits);
        f.byteOrder = (axis.flags & AxisLsbFirst) ? 1 : 0;
        f.dataOrder = (axis.flags & AxisDataOrderXY) ? 1 : 0;
        if (a == AxisZ)
            continue;
        switch (f.source) {
        case SourceManual:
            for (int i = 0; i < std::min<int>(axis.count, kMaxLabels); ++i)
                f.labels.push_back(editableNumberText(axis.labels[i], axis.decimalpl));
            break;
        case SourceScaled:
            for (int i = 0; i < 2; ++i)
                f.labels.push_back(editableNumberText(axis.labels[i], axis.decimalpl));
            break;
        default:
            if (image && imageSize > 0 && axis.count > 0)
                f.labels = storedValueTexts(axis, axis.count, image, imageSize, axis.outputtype == OutputInteger,
                                            axis.decimalpl);
            break;
        }
    }
    return form;
}

void applyForm(const MapForm& form, MapDefinition& map)
{
    map.title = form.title;
    map.description = form.description;
    for (int a = AxisX; a <= AxisZ; ++a) {
        const AxisForm& f = form.axes[a];
        AxisDefinition& axis = map.axes[a];
        axis.address = parseHexAddress(f.address);
        axis.bits = bitsOf(f.bits);
        axis.flags = axisFlags(f, a == AxisZ);
        axis.units = f.units;
        axis.outputtype = outputTypeOf(f.type);
        axis.decimalpl = decimalsOf(f.decimals);
        axis.offset = numberOrZero(f.offset);
        axis.factor = numberOrZero(f.factor);
        if (a == AxisZ)
            continue;
        // A count the 16-bit field cannot hold is held at its limit, not wrapped
        // (-1 would become 65535 cells, 70000 would become 4464).
        axis.count = static_cast<std::uint16_t>(std::clamp<long long>(parseInteger(f.count).value_or(0), 0, 0xFFFF));
        axis.embeddedinfotype = sourceOf(f.source);
        int labels = 0;
        if (axis.embeddedinfotype == SourceScaled)
            labels = 2;
        else if (axis.embeddedinfotype == SourceManual)
            labels = std::min<int>(axis.count, kMaxLabels);
        for (int i = 0; i < labels; ++i)
            axis.labels[i] = static_cast<std::size_t>(i) < f.labels.size() ? numberOrZero(f.labels[i]) : 0.0;
    }
}
