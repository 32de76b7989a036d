#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "cells/cell_codec.h"

using namespace CellCodec;

namespace {

AxisDefinition axis(int bits, std::uint16_t flags, double factor = 1.0, double offset = 0.0, int places = 0)
{
    AxisDefinition a;
    a.bits = static_cast<std::uint16_t>(bits);
    a.flags = flags;
    a.factor = factor;
    a.offset = offset;
    a.decimalpl = static_cast<std::uint16_t>(places);
    return a;
}

constexpr std::uint16_t S = AxisSigned;
constexpr std::uint16_t L = AxisLsbFirst;

TEST(CellCodec, ReadsAndWritesRawCellsOfEveryLayout)
{
    struct Row {
        int bits;
        std::uint16_t flags;
        std::vector<std::uint8_t> bytes;
        std::int32_t raw;
        double eng;   // factor 1, offset 0, 0 places
    };
    const Row rows[] = {
        {8, 0, {0xFF}, 255, 255},
        {8, S, {0xFF}, -1, -1},
        {8, S, {0x80}, -128, -128},
        {16, S, {0xFF, 0x38}, -200, -200},
        {16, S | L, {0xFF, 0x38}, 14591, 14591},
        {16, 0, {0x80, 0x00}, 32768, 32768},
        {32, 0, {0xFF, 0xFF, 0xFF, 0xFF}, -1, 4294967295.0},
        {32, S, {0xFF, 0xFF, 0xFF, 0xFE}, -2, -2},
        {32, L, {0x78, 0x56, 0x34, 0x12}, 0x12345678, 305419896.0},
        {32, 0, {0x12, 0x34, 0x56, 0x78}, 0x12345678, 305419896.0},
        {12, 0, {0xAB, 0xCD}, 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.bits << " bits, flags " << row.flags);
        const AxisDefinition a = axis(row.bits, row.flags);
        std::vector<std::uint8_t> block(row.bytes);
        EXPECT_EQ(readRawValue(block.data(), 0, a), row.raw);
        EXPECT_EQ(readEngValue(block.data(), 0, a), row.eng);
        // Writing the raw value back reproduces the bytes (a 12-bit cell writes nothing).
        std::vector<std::uint8_t> written(block.size(), 0x5A);
        writeRawValue(written.data(), 0, a, row.raw);
        EXPECT_EQ(written, row.bits == 12 ? std::vector<std::uint8_t>(block.size(), 0x5A) : row.bytes);
    }
}

TEST(CellCodec, EngineeringValuesScaleRoundAndTruncate)
{
    struct Row {
        AxisDefinition axis;
        double written;
        std::int32_t storedRaw;
        double readBack;
    };
    const Row rows[] = {
        {axis(16, 0, 0.1, 0, 1), 12.34, 123, 12.3},     // rounded to one place before scaling
        {axis(16, 0, 0.1, 0, 1), 7.0, 70, 7.0},         // 1 / 0.1 is exactly 10
        {axis(16, 0, 2.0, 10.0, 0), 30.0, 5, 30.0},     // offset is added before the factor
        {axis(8, 0, 1.0, 0, 0), -1.0, 255, 255.0},      // wraps at the cell width
        {axis(8, 0, 1.0, 0, 0), 256.0, 0, 0.0},
        {axis(16, S, 1.0, 0, 1), -2.96, -3, -3.0},      // -2.96 rounds to -3.0 first
        {axis(16, S, 0.3, 0, 0), -2.0, -6, -1.8},       // -2 x (1/0.3) = -6.666 truncates to -6
        {axis(16, 0, 0.0, 0, 0), 50.0, 0, 0.0},         // factor 0: not finite, stores 0
        {axis(32, S, 1e-30, 0, 0), 1e20, 0, 0.0},       // beyond 64 bits stores 0
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "factor " << row.axis.factor << ", writing " << row.written);
        std::vector<std::uint8_t> block(4, 0xEE);
        writeEngValue(block.data(), 0, row.axis, row.written);
        EXPECT_EQ(readRawValue(block.data(), 0, row.axis), row.storedRaw);
        EXPECT_DOUBLE_EQ(readEngValue(block.data(), 0, row.axis), roundToDecimals(row.readBack, row.axis.decimalpl));
    }
}

TEST(CellCodec, RoundsTiesTowardPositiveInfinity)
{
    EXPECT_EQ(roundToDecimals(2.5, 0), 3.0);
    EXPECT_EQ(roundToDecimals(-2.5, 0), -2.0);
    EXPECT_EQ(roundToDecimals(1.005, 2), 1.0);   // the double nearest 1.005 lies below it
    EXPECT_EQ(roundToDecimals(12.345, 1), 12.3);
    // Beyond the range of a double the value stays as it is (not inf or NaN).
    EXPECT_EQ(roundToDecimals(1e300, 10), 1e300);
    EXPECT_EQ(roundToDecimals(0.25, 400), 0.25);
    EXPECT_EQ(roundToDecimals(0.0, 65535), 0.0);
}

TEST(CellCodec, LocatesCellsInBothDataOrdersAndChecksTheBlock)
{
    MapDefinition map;
    map.axes[AxisX].count = 3;
    map.axes[AxisY].count = 2;
    map.axes[AxisZ].bits = 16;
    map.axes[AxisZ].address = 10;
    EXPECT_EQ(cellOffset(map, 2, 1), (1u * 3 + 2) * 2);   // row by row
    map.axes[AxisZ].flags = AxisDataOrderXY;
    EXPECT_EQ(cellOffset(map, 2, 1), (2u * 2 + 1) * 2);   // column by column
    EXPECT_EQ(blockSize(map), 12u);
    EXPECT_TRUE(blockFits(map, 22));
    EXPECT_FALSE(blockFits(map, 21));
    map.axes[AxisZ].address = 0xFFFFFFFF;
    EXPECT_FALSE(blockFits(map, 22));
    map.axes[AxisZ].bits = 12;   // taken as 4 bytes for the block
    map.axes[AxisZ].address = 0;
    EXPECT_EQ(blockSize(map), 24u);

    const std::vector<std::uint8_t> image = {0, 1, 0, 2, 0, 3};
    AxisDefinition stored = axis(16, 0, 10.0);
    stored.address = 2;
    double value = -1;
    EXPECT_TRUE(readStoredAxisValue(image.data(), image.size(), stored, 1, value));
    EXPECT_EQ(value, 30.0);
    EXPECT_FALSE(readStoredAxisValue(image.data(), image.size(), stored, 2, value));
    EXPECT_EQ(value, 30.0);
}

} // namespace
