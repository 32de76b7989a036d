#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "cells/table_display.h"

namespace {

TEST(TableDisplay, HeatColourRule)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct Row {
        double v, s;
        Rgb colour;
    } const rows[] = {
        {0, 1, {0, 255, 0}},      {0.99, 1, {0, 255, 0}},   {1, 1, {0, 255, 0}},     {2, 1, {128, 255, 0}},
        {3, 1, {170, 255, 0}},    {15.9, 1, {238, 255, 0}}, {16, 1, {255, 255, 0}},  {16.99, 1, {255, 255, 0}},
        {17, 1, {255, 255, 0}},   {18, 1, {255, 127, 0}},   {32, 1, {255, 15, 0}},   {300, 1, {255, 9, 0}},
        {40000, 1, {255, 241, 0}},   // beyond 16 bits: -32768, low 8 bits 0
        {272.5, 1, {255, 255, 0}},   // low 8 bits 16: would divide by zero
        {5, 0, {255, 241, 0}},       // all cells equal: s = 0
        {0, 0, {255, 241, 0}},       // 0 / 0
        {-5, 0, {0, 255, 0}},        {-inf, 1, {0, 255, 0}},
        // A table from 0 to 64: s = 2; half way is yellow, the top (255, 15, 0).
        {32, 2, {255, 255, 0}},      {64, 2, {255, 15, 0}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(heatColour(row.v, row.s), row.colour) << row.v << " / " << row.s;

    HeatRange high, low;
    for (double v : {3e9, 4e9})
        high.add(v);
    for (double v : {0.0, 64.0, std::nan("")})
        low.add(v);
    EXPECT_EQ(high.min, 3e9);   // the true minimum, however far beyond 32 bits
    EXPECT_EQ(low.scale(), 2.0);
}

TEST(TableDisplay, NumberTexts)
{
    struct Row {
        double value;
        bool whole;
        int places;
        std::string text;
    } const rows[] = {
        {12.5, false, 2, "12.50"},   {-2.9, true, 0, "-2"},          {-0.4, true, 3, "0"},
        {4294967295.0, true, 0, "4294967295"},                       {-3e10, true, 0, "-30000000000"},
        {1.005, false, 2, "1.00"},   {0.125, false, 2, "0.12"},      {7, false, 0, "7"},
        {0.1, false, 65535, "0.100000000000000005551115123126"},     // places capped at 30
    };
    for (const Row& row : rows)
        EXPECT_EQ(cellText(row.value, row.whole, row.places), row.text) << row.value;
    EXPECT_LT(formatDecimals(-1.7976931348623157e308, 65535).size(), 400u);
}

TEST(TableDisplay, ExtremeCellTexts)
{
    auto axis = [](std::uint32_t bits, std::uint32_t flags, double factor, double offset, std::uint32_t places,
                   std::uint32_t output) {
        AxisDefinition z;
        z.bits = bits, z.flags = flags, z.factor = factor, z.offset = offset, z.decimalpl = places;
        z.outputtype = output;
        return z;
    };
    struct Row {
        AxisDefinition z;
        bool raw, difference;
        std::vector<std::string> texts;
    } const rows[] = {
        {axis(8, 0, 1, 0, 0, OutputInteger), true, false, {"0", "255"}},
        {axis(8, 0, 1, 0, 0, OutputInteger), true, true, {"-255", "255"}},
        {axis(32, 0, 1, 0, 0, OutputInteger), true, false, {"-2147483648", "2147483647"}},
        {axis(32, 0, 1, 0, 0, OutputInteger), false, false, {"0", "4294967295"}},
        {axis(32, AxisSigned, 100000, 0, 0, OutputInteger), false, false, {"-214748364800000", "214748364700000"}},
        {axis(16, 0, 0.01, 0, 2, OutputFloat), false, false, {"0.00", "655.35"}},
        {axis(8, 0, -0.5, -40, 1, OutputFloat), false, true, {"-127.5", "127.5"}},
        {axis(24, 0, 1, 0, 0, OutputInteger), false, false, {"0"}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(extremeCellTexts(row.z, row.raw, row.difference), row.texts) << row.z.bits << " " << row.z.factor;
}

TEST(TableDisplay, AxisHeaders)
{
    // Stored values: 16-bit at address 2, factor 0.5: 5, then 65535, then past the image.
    const std::vector<std::uint8_t> image = {0, 0, 0, 5, 0xFF, 0xFF};
    const struct {
        int source, count, places, outputtype;
        std::array<double, 3> labels;
        const char* texts;
    } rows[] = {
        {SourceManual, 3, 2, 1, {12.5, -1, 1000}, "12.50 -1.00 1000.00 "},
        {SourceScaled, 5, 0, 1, {0, 1000}, "0 250 500 750 1000 "},
        {SourceScaled, 11, 16, 1, {0, 1}, "0.0000000000000000 "},   // see below for the last one
        {SourceEmbedded, 3, 1, 1, {}, "2.5 32767.5  "},
        {SourceEmbedded, 1, 1, OutputInteger, {}, "2 "},
        {7, 4, 0, 1, {}, ""},   // unknown source: the grid keeps its own labels
    };
    for (const auto& row : rows) {
        AxisDefinition axis;
        axis.embeddedinfotype = static_cast<std::uint16_t>(row.source);
        axis.count = static_cast<std::uint16_t>(row.count);
        axis.decimalpl = static_cast<std::uint16_t>(row.places);
        axis.outputtype = static_cast<std::uint16_t>(row.outputtype);
        for (std::size_t i = 0; i < row.labels.size(); ++i)
            axis.labels[i] = row.labels[i];
        axis.bits = 16, axis.address = 2, axis.factor = 0.5;
        const std::vector<std::string> texts = axisHeaderTexts(axis, image.data(), image.size());
        std::string joined;
        for (const std::string& text : texts)
            joined += text + " ";
        if (row.count == 11) {
            // Repeated addition: ten steps of 0.1 fall short of 1.
            EXPECT_EQ(texts.back(), "0.9999999999999999");
            joined = texts.front() + " ";
        }
        EXPECT_EQ(joined, row.texts);
    }
    AxisDefinition manual;
    manual.count = 258;   // only 256 labels exist
    EXPECT_EQ(axisHeaderTexts(manual, nullptr, 0)[257], "");
}

TEST(TableDisplay, MapFitsTheImage)
{
    // columns, rows, Z address, Z bits; stored X values (16-bit) at xAddress when not 0.
    const struct {
        int columns, rows;
        std::uint32_t address;
        int bits;
        std::uint32_t xAddress;
        int xBits;
        MapFit fit;
    } rows[] = {
        {4, 5, 80, 8, 0, 0, MapFit::Fits},           {4, 5, 81, 8, 0, 0, MapFit::OutsideImage},
        {4, 5, 70, 16, 0, 0, MapFit::OutsideImage},  {1, 1, 97, 12, 0, 0, MapFit::OutsideImage},   // 12 bits: 4 bytes
        {1, 1, 0xFFFFFFFF, 8, 0, 0, MapFit::OutsideImage},
        {0, 5, 0xFFFFFFFF, 8, 0, 0, MapFit::NoCells}, {4, 0, 0, 8, 0, 0, MapFit::NoCells},
        {4, 2, 0, 8, 92, 16, MapFit::Fits},          {4, 2, 0, 8, 93, 16, MapFit::OutsideImage},
        {4, 2, 0, 8, 93, 12, MapFit::Fits},          // stored values without a width read nothing
    };
    for (const auto& row : rows) {
        MapDefinition map;
        map.axes[AxisX].count = static_cast<std::uint16_t>(row.columns);
        map.axes[AxisY].count = static_cast<std::uint16_t>(row.rows);
        map.axes[AxisZ].address = row.address;
        map.axes[AxisZ].bits = static_cast<std::uint16_t>(row.bits);
        if (row.xAddress) {
            map.axes[AxisX].embeddedinfotype = SourceEmbedded;
            map.axes[AxisX].address = row.xAddress;
            map.axes[AxisX].bits = static_cast<std::uint16_t>(row.xBits);
        }
        EXPECT_EQ(checkMapFits(map, 100), row.fit) << row.columns << "x" << row.rows << " at " << row.address;
    }
    EXPECT_STREQ(mapFitMessage(MapFit::NoCells), "The map has no cells!");
    EXPECT_STREQ(mapFitMessage(MapFit::OutsideImage), "The map does not fit in the selected BIN!");
}

} // namespace
