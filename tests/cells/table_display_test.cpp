#include <gtest/gtest.h>

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

    HeatRange range;
    for (double v : {3e9, 4e9})
        range.add(v);
    EXPECT_EQ(range.min, 2147483647.0);   // the scan starts from fixed bounds
    EXPECT_EQ(range.max, 4e9);
    range = HeatRange();
    range.add(0);
    range.add(64);
    range.add(std::nan(""));
    EXPECT_EQ(range.scale(), 2.0);
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

TEST(TableDisplay, AxisHeaders)
{
    AxisDefinition manual;
    manual.count = 3;
    manual.decimalpl = 2;
    manual.labels[0] = 12.5;
    manual.labels[1] = -1;
    manual.labels[2] = 1000;
    EXPECT_EQ(axisHeaderTexts(manual, nullptr, 0), (std::vector<std::string>{"12.50", "-1.00", "1000.00"}));
    manual.count = 258;   // only 256 labels exist
    EXPECT_EQ(axisHeaderTexts(manual, nullptr, 0)[257], "");

    AxisDefinition scaled;
    scaled.embeddedinfotype = SourceScaled;
    scaled.count = 5;
    scaled.labels[1] = 1000;
    EXPECT_EQ(axisHeaderTexts(scaled, nullptr, 0), (std::vector<std::string>{"0", "250", "500", "750", "1000"}));
    // Repeated addition: ten steps of 0.1 fall short of 1.
    scaled.count = 11;
    scaled.labels[1] = 1;
    scaled.decimalpl = 16;
    EXPECT_EQ(axisHeaderTexts(scaled, nullptr, 0).back(), "0.9999999999999999");

    AxisDefinition stored;
    stored.embeddedinfotype = SourceEmbedded;
    stored.count = 3;
    stored.bits = 16;
    stored.address = 2;
    stored.factor = 0.5;
    stored.decimalpl = 1;
    const std::vector<std::uint8_t> image = {0, 0, 0, 5, 0xFF, 0xFF};
    EXPECT_EQ(axisHeaderTexts(stored, image.data(), image.size()), (std::vector<std::string>{"2.5", "32767.5", ""}));
    stored.outputtype = OutputInteger;
    EXPECT_EQ(axisHeaderTexts(stored, image.data(), image.size())[0], "2");

    AxisDefinition unknown;
    unknown.embeddedinfotype = 7;
    unknown.count = 4;
    EXPECT_TRUE(axisHeaderTexts(unknown, nullptr, 0).empty());
}

TEST(TableDisplay, MapFitsTheImage)
{
    auto map = [](int columns, int rows, std::uint32_t address, int bits) {
        MapDefinition m;
        m.axes[AxisX].count = static_cast<std::uint16_t>(columns);
        m.axes[AxisY].count = static_cast<std::uint16_t>(rows);
        m.axes[AxisZ].address = address;
        m.axes[AxisZ].bits = static_cast<std::uint16_t>(bits);
        return m;
    };
    MapDefinition embedded = map(4, 2, 0, 8);
    embedded.axes[AxisX].embeddedinfotype = SourceEmbedded;
    embedded.axes[AxisX].bits = 16;
    embedded.axes[AxisX].address = 92;   // 4 values x 2 bytes: 92..99
    MapDefinition embeddedPast = embedded;
    embeddedPast.axes[AxisX].address = 93;
    MapDefinition embeddedNoWidth = embeddedPast;
    embeddedNoWidth.axes[AxisX].bits = 12;   // reads no byte at all

    struct Row {
        const char* what;
        MapDefinition map;
        MapFit fit;
    } const rows[] = {
        {"fits exactly", map(4, 5, 80, 8), MapFit::Fits},
        {"one byte past", map(4, 5, 81, 8), MapFit::OutsideImage},
        {"16-bit past", map(4, 5, 70, 16), MapFit::OutsideImage},
        {"12 bits count as 4 bytes", map(1, 1, 97, 12), MapFit::OutsideImage},
        {"address beyond", map(1, 1, 0xFFFFFFFF, 8), MapFit::OutsideImage},
        {"no columns", map(0, 5, 0xFFFFFFFF, 8), MapFit::NoCells},
        {"no rows", map(4, 0, 0, 8), MapFit::NoCells},
        {"stored X values inside", embedded, MapFit::Fits},
        {"stored X values past", embeddedPast, MapFit::OutsideImage},
        {"stored values without width", embeddedNoWidth, MapFit::Fits},
    };
    for (const Row& row : rows)
        EXPECT_EQ(checkMapFits(row.map, 100), row.fit) << row.what;
    EXPECT_STREQ(mapFitMessage(MapFit::NoCells), "The map has no cells!");
    EXPECT_STREQ(mapFitMessage(MapFit::OutsideImage), "The map does not fit in the selected BIN!");
}

} // namespace
