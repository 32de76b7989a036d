#include <cmath>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

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
        bool held;
    };
    const Row rows[] = {
        {axis(16, 0, 0.1, 0, 1), 12.34, 123, 12.3, false},     // rounded to one place before scaling
        {axis(16, 0, 0.1, 0, 1), 7.0, 70, 7.0, false},         // 1 / 0.1 is exactly 10
        {axis(16, 0, 2.0, 10.0, 0), 30.0, 5, 30.0, false},     // offset is added before the factor
        {axis(16, 0, 0.01, 0, 2), 10.03, 1003, 10.03, false},  // 10.03 x 100 = 1002.9999999999999
        {axis(16, S, 0.01, 0, 2), -10.03, -1003, -10.03, false},
        {axis(16, 0, 0.01, 0, 1), 2.3, 230, 2.3, false},       // 229.99999999999997; 229 shows 2.3 too
        {axis(16, 0, 0.03, 0, 1), 0.8, 26, 0.8, false},        // 26.67: 26 and 27 both show 0.8; toward zero
        {axis(16, 0, 0.01, 0, 1), 2.35, 235, 2.35, false},     // held exactly, though shown at one place
        {axis(16, 0, 0.01, 0, 1), 2.345, 230, 2.3, false},     // not held: rounded to the place first
        {axis(16, 0, 1.0, 0, 1), 2.9, 2, 2.0, false},          // between two steps: toward zero
        {axis(16, S, 1.0, 0, 1), -2.9, -2, -2.0, false},
        {axis(16, S, 1.0, 0, 1), -2.96, -3, -3.0, false},      // -2.96 rounds to -3.0 first
        {axis(16, S, 0.3, 0, 0), -2.0, -6, -1.8, false},       // -6.666: -6 and -7 both show -2; toward zero
        {axis(32, 0, 1.0, 0, 3), 4000000000.999, -294967296, 4000000000.0, false},   // large, still between steps
        {axis(32, 0, 0.001, 0, 3), 4000000.001, -294967295, 4000000.001, false},
        {axis(8, 0, 1.0, 0, 0), -1.0, 0, 0.0, true},           // held at the cell's limits
        {axis(8, 0, 1.0, 0, 0), 256.0, 255, 255.0, true},
        {axis(8, S, 0.5, -20, 1), 100.0, 127, 53.5, true},
        {axis(8, S, -0.5, 0, 1), 64.25, -128, 64.0, true},     // past the limit by less than a step
        {axis(16, 0, 1.0 / 3, 10, 3), 3.3, 0, 10.0 / 3, true},
        {axis(16, 0, 1.0 / 3, 10, 3), 3.333, 0, 10.0 / 3, false},   // the limit as shown
        {axis(16, 0, 0.0, 0, 0), 50.0, 0, 0.0, false},         // factor 0: every raw number reads 0
        {axis(32, S, 1e-30, 0, 0), 1e20, 2147483647, 0.0, true},
        {axis(32, 0, 1.0, 0, 0), 1e300 * 1e300, -1, 4294967295.0, true},   // infinity
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "factor " << row.axis.factor << ", writing " << row.written);
        std::vector<std::uint8_t> block(4, 0xEE);
        EXPECT_EQ(writeEngValue(block.data(), 0, row.axis, row.written), row.held);
        EXPECT_EQ(readRawValue(block.data(), 0, row.axis), row.storedRaw);
        EXPECT_DOUBLE_EQ(readEngValue(block.data(), 0, row.axis), roundToDecimals(row.readBack, row.axis.decimalpl));
    }
}

// Every value a 16-bit cell can hold, written as the grid shows it, stores
// the raw number it came from, whatever noise the factor's reciprocal adds.
TEST(CellCodec, EngineeringValuesOfEveryRawNumberWriteBackExactly)
{
    const struct {
        double factor, offset;
        int places;
    } rows[] = {
        {1, 0, 0},        {1, -40, 0},        {0.1, 0, 1},    {0.1, 273.2, 1}, {0.01, 0, 2},  {0.01, -1000, 2},
        {0.05, 0, 2},     {0.05, 12.5, 2},    {0.75, 0, 2},   {0.75, -3, 2},   {1.0 / 256, 0, 8}, {1.0 / 256, -128, 8},
        {1.0 / 3, 0, 2},  {1.0 / 3, 100, 3},  {-0.01, 0, 2},  {0.1, 0.5, 2},
    };
    for (const auto& row : rows)
        for (const std::uint16_t flags : {std::uint16_t(0), S}) {
            SCOPED_TRACE(testing::Message() << "factor " << row.factor << " offset " << row.offset << " flags " << flags);
            const AxisDefinition a = axis(16, flags, row.factor, row.offset, row.places);
            int failures = 0;
            for (std::uint32_t bits = 0; bits < 65536 && failures < 5; ++bits) {
                std::uint8_t cell[2] = {std::uint8_t(bits >> 8), std::uint8_t(bits)};
                const std::int32_t raw = readRawValue(cell, 0, a);
                const double shown = readEngValue(cell, 0, a);
                std::uint8_t written[2] = {0x5A, 0x5A};
                const bool held = writeEngValue(written, 0, a, shown);
                if (held || readRawValue(written, 0, a) != raw) {
                    ADD_FAILURE() << "raw " << raw << " shows " << shown << ", stored back as " << readRawValue(written, 0, a);
                    ++failures;
                }
            }
        }
    // Shown at fewer places than the factor has, a value typed at those
    // places is stored as the raw number that is exactly it.
    for (const auto& [factor, places, scale] : {std::tuple{0.01, 1, 10}, {0.001, 2, 10}, {0.001, 1, 100}}) {
        const AxisDefinition a = axis(16, 0, factor, 0, places);
        int failures = 0;
        for (int typed = 0; typed * scale < 65536 && failures < 5; ++typed) {
            const double value = typed / std::pow(10.0, places);
            std::uint8_t written[2] = {0x5A, 0x5A};
            writeEngValue(written, 0, a, value);
            if (readRawValue(written, 0, a) != typed * scale) {
                ADD_FAILURE() << "factor " << factor << ": " << value << " stored as " << readRawValue(written, 0, a);
                ++failures;
            }
        }
    }
}

// Raw numbers from the tuner (typed, pasted, filled, stepped) hold at the
// nearest number the cell can hold instead of wrapping.
TEST(CellCodec, RawWritesHoldAtTheCellsLimits)
{
    const struct {
        int bits;
        std::uint16_t flags;
        double written;
        std::int64_t stored;   // the cell's own number
        bool held;
    } rows[] = {
        {8, 0, 300, 255, true},               {8, 0, -2.9, 0, true},         {8, 0, 254.9, 254, false},
        {8, 0, 255.5, 255, true},             {8, 0, -0.5, 0, true},         {8, S, 127.5, 127, true},
        {8, S, 128, 127, true},               {8, S, -129, -128, true},      {8, S, -128, -128, false},
        {16, 0, 65536, 65535, true},          {16, 0, -1, 0, true},          {16, S, 40000, 32767, true},
        {16, S, -32769, -32768, true},        {32, S, 3e9, 2147483647, true}, {32, S, -1e12, -2147483648LL, true},
        {32, 0, 4294967295, 4294967295, false}, {32, 0, 5e9, 4294967295, true},
        {32, 0, -1, 4294967295, false},       // the raw view shows FF FF FF FF as -1
        {32, 0, -0.5, 0, false},              {32, 0, -1.5, 4294967295, false},
        {32, 0, -2147483648.0, 2147483648, false}, {32, 0, -2147483649.0, 0, true},
        {12, 0, 300, 0, false},               // no cell: nothing stored
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.bits << " bits, flags " << row.flags << ", writing " << row.written);
        const AxisDefinition a = axis(row.bits, row.flags);
        std::vector<std::uint8_t> block(4, 0);
        EXPECT_EQ(storeRawValue(block.data(), 0, a, row.written), row.held);
        EXPECT_EQ(readCellNumber(block.data(), 0, a), row.stored);
    }
    double lowest = 0, highest = 0;
    EXPECT_TRUE(cellLimits(axis(16, S), lowest, highest));
    EXPECT_EQ(std::make_pair(lowest, highest), std::make_pair(-32768.0, 32767.0));
    EXPECT_FALSE(cellLimits(axis(12, 0), lowest, highest));
}

// Ties go up; where the places take the value beyond the range of a double it
// stays as it is (not inf or NaN).
TEST(CellCodec, RoundsTiesTowardPositiveInfinity)
{
    for (const auto& [value, places, rounded] : {std::tuple{2.5, 0, 3.0}, {-2.5, 0, -2.0}, {12.345, 1, 12.3},
                                                 {1.005, 2, 1.0},   // the double nearest 1.005 lies below it
                                                 {1e300, 10, 1e300}, {0.25, 400, 0.25}, {0.0, 65535, 0.0}})
        EXPECT_EQ(roundToDecimals(value, places), rounded) << value << " at " << places << " places";
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
