#include <algorithm>

#include <gtest/gtest.h>

#include "map_cells_fixture.h"

namespace {

// What the close question asks about: whether Apply would change the image.
// A 2 x 2 map of 16-bit cells at address 4, holding 7 each in the working copy.
TEST(MapCells, DiffersFromTheImageWhenApplyWouldChangeIt)
{
    TestCells t(2, 2, 16, 0, 1, 0, 7);
    t.map->axes[AxisZ].address = 4;
    std::vector<std::uint8_t> same(12, 0xAA);
    std::copy(t.cells.workingCopy.begin(), t.cells.workingCopy.end(), same.begin() + 4);
    const struct {
        const char* why;
        std::size_t changedByte;   // past the end: none
        std::size_t dataSize;
        std::int32_t size;
        bool differs;
    } rows[] = {
        {"the same bytes", 99, 12, 12, false},
        {"bytes around the block differ", 3, 12, 12, false},
        {"last byte of the block", 11, 12, 12, true},
        {"first byte of the block", 4, 12, 12, true},
        {"image one byte short", 99, 12, 11, true},
        {"image reloaded empty", 99, 0, 0, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.why);
        RomBuffer source;
        source.data = same;
        if (row.changedByte < source.data.size())
            source.data[row.changedByte] ^= 1;
        source.data.resize(row.dataSize);
        source.size = row.size;
        EXPECT_EQ(t.cells.differsFrom(source), row.differs);
    }
}

// An image changing under the working copy: whole cells changed here are
// kept (one changed byte keeps its cell's other byte too), the others take
// the new bytes, 0 past the image's end.
TEST(MapCells, TakingUpTheSourceKeepsTheCellsChangedHere)
{
    TestCells t(3, 1, 16, 0, 1, 0, 0);
    t.map->axes[AxisZ].address = 2;
    std::vector<std::uint8_t> base = {0x00, 0x10, 0x00, 0x20, 0x00, 0x30};
    t.cells.workingCopy = {0x00, 0x10, 0x00, 0x21, 0x00, 0x30};
    RomBuffer source;
    source.data = {0xEE, 0xEE, 0x01, 0x10, 0x05, 0x20, 0x07};
    source.size = 7;
    EXPECT_EQ(t.cells.takeUpSource(base, source), 1u);
    EXPECT_EQ(t.cells.workingCopy, (std::vector<std::uint8_t>{0x01, 0x10, 0x00, 0x21, 0x07, 0x00}));
    EXPECT_EQ(base, (std::vector<std::uint8_t>{0x01, 0x10, 0x05, 0x20, 0x07, 0x00}));
}

} // namespace
