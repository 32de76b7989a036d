#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cells/image_differences.h"
#include "test_support.h"

namespace {

// A 256-byte stock image and four maps:
// 0 Ignition: 3 x 2 signed 16-bit cells at 0x10 (factor 0.5, one place, deg),
//   raw 10 20 -4 / 7 0 100; its X values stored as 3 bytes at 0x40.
// 1 Fuel: 2 x 2 unsigned 8-bit integer cells at 0x20 (ms), 5 6 7 8; a title
//   with a line break.
// 2 NoCells: no columns, at 0x60: it covers no byte.
// 3 Tail: 2 x 2 16-bit cells at 0xF0 to 0xF8.
// 4 NoWidth: 2 x 2 cells of width 0 at 0x70, as an import leaves a map to be
//   completed: it covers no byte either.
std::unique_ptr<DefinitionStore> testStore()
{
    auto store = std::make_unique<DefinitionStore>();
    store->mapCount = 5;
    MapDefinition& ignition = store->maps[0];
    ignition.title = "Ignition";
    ignition.axes[AxisX].count = 3;
    ignition.axes[AxisX].embeddedinfotype = SourceEmbedded;
    ignition.axes[AxisX].address = 0x40, ignition.axes[AxisX].bits = 8, ignition.axes[AxisX].factor = 1;
    ignition.axes[AxisY].count = 2;
    AxisDefinition& z = ignition.axes[AxisZ];
    z.address = 0x10, z.bits = 16, z.flags = AxisSigned, z.factor = 0.5, z.decimalpl = 1, z.units = "deg";

    MapDefinition& fuel = store->maps[1];
    fuel.title = "Fuel\r\nbase";
    fuel.axes[AxisX].count = 2;
    fuel.axes[AxisY].count = 2;
    fuel.axes[AxisZ] = {};
    fuel.axes[AxisZ].address = 0x20, fuel.axes[AxisZ].bits = 8, fuel.axes[AxisZ].factor = 1;
    fuel.axes[AxisZ].flags = AxisDataOrderXY, fuel.axes[AxisZ].outputtype = OutputInteger;
    fuel.axes[AxisZ].units = "ms";

    store->maps[2] = fuel;
    store->maps[2].title = "NoCells";
    store->maps[2].axes[AxisX].count = 0;
    store->maps[2].axes[AxisZ].address = 0x60;

    store->maps[3] = fuel;
    store->maps[3].title = "Tail";
    store->maps[3].axes[AxisZ].address = 0xF0, store->maps[3].axes[AxisZ].bits = 16;

    store->maps[4] = fuel;
    store->maps[4].title = "NoWidth";
    store->maps[4].axes[AxisZ].address = 0x70, store->maps[4].axes[AxisZ].bits = 0;
    return store;
}

std::vector<std::uint8_t> stockImage()
{
    std::vector<std::uint8_t> image = randomBytes(256, 7);
    const std::uint8_t ignition[] = {0, 10, 0, 20, 0xFF, 0xFC, 0, 7, 0, 0, 0, 100};
    std::copy(std::begin(ignition), std::end(ignition), image.begin() + 0x10);
    const std::uint8_t fuel[] = {5, 6, 7, 8};
    std::copy(std::begin(fuel), std::end(fuel), image.begin() + 0x20);
    return image;
}

constexpr int kFlip = -1;   // the stock byte with every bit inverted

TEST(ImageDifferences, MapsAndRegionsThatDiffer)
{
    const struct {
        const char* name;
        std::vector<std::pair<std::size_t, int>> writes;   // into the tuned image
        std::size_t size;                                  // of the tuned image
        const char* rows;                                  // fixed texts in brackets
        std::vector<int> rowMaps;
        const char* summary;
    } cases[] = {
        {"same", {}, 256, "", {}, "The BINs are the same."},
        {"one cell, tuned minus stock", {{0x13, 23}}, 256, "Ignition\t1\t1.5\tdeg", {0},
         "Maps that differ: 1. Regions outside the maps: 0 (bytes: 0)."},
        {"largest by magnitude, with its sign", {{0x11, 11}, {0x18, 0xFF}, {0x19, 0xFA}}, 256,
         "Ignition\t2\t-3.0\tdeg", {0}, nullptr},
        {"map-list order; an integer map; line breaks in a title", {{0x22, 9}, {0x13, 23}}, 256,
         "Ignition\t1\t1.5\tdeg\nFuel  base\t1\t2\tms", {0, 1}, nullptr},
        {"a stored axis value", {{0x41, kFlip}}, 256, "Ignition\t0\t\tdeg\t1", {0}, nullptr},
        {"one byte outside", {{0x80, kFlip}}, 256, "0x80\t1", {-1},
         "Maps that differ: 0. Regions outside the maps: 1 (bytes: 1)."},
        {"a run up to a map's first cell", {{0x0E, kFlip}, {0x0F, kFlip}, {0x11, 11}}, 256,
         "Ignition\t1\t0.5\tdeg\n0xE\t2", {0, -1}, nullptr},
        {"an equal byte ends a run", {{0x80, kFlip}, {0x81, kFlip}, {0x83, kFlip}}, 256, "0x80\t2\n0x83\t1",
         {-1, -1}, nullptr},
        {"a run across an 8-byte boundary", {{0x87, kFlip}, {0x88, kFlip}}, 256, "0x87\t2", {-1}, nullptr},
        {"a run from the byte after a map on", {{0x1C, kFlip}, {0x1D, kFlip}}, 256, "0x1C\t2", {-1}, nullptr},
        {"a map without cells covers nothing", {{0x60, kFlip}}, 256, "0x60\t1", {-1}, nullptr},
        {"nor does a map of no width", {{0x70, kFlip}}, 256, "0x70\t1", {-1}, nullptr},
        {"shorter: the map past its end is not compared, the rest is one region", {}, 0xF4,
         "Tail\t[does not fit]\n0xF4\t12", {3, -1},
         "Maps that differ: 0. Maps that do not fit: 1. Regions outside the maps: 1 (bytes: 12)."},
        {"shorter: a change in the part of a map that is not compared is a region", {{0xF2, kFlip}}, 0xF4,
         "Tail\t[does not fit]\n0xF2\t1\n0xF4\t12", {3, -1, -1}, nullptr},
        {"longer: a run at the shorter end stays apart from the bytes beyond it", {{0xFF, kFlip}}, 260,
         "0xFF\t1\n0x100\t4", {-1, -1}, nullptr},
    };
    const auto store = testStore();
    const std::vector<std::uint8_t> stock = stockImage();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::uint8_t> tuned = stock;
        tuned.resize(c.size, 0x5A);
        for (const auto& [address, value] : c.writes)
            tuned[address] = static_cast<std::uint8_t>(value == kFlip ? ~stock[address] : value);

        const ImageDifferences differences = compareImages(tuned, stock, *store);
        EXPECT_EQ(differencesText(differences, [](const std::string& text) { return "[" + text + "]"; }), c.rows);
        std::vector<int> rowMaps;
        for (std::size_t row = 0; row < differences.rowCount(); ++row)
            rowMaps.push_back(differenceRowMap(differences, row));
        EXPECT_EQ(rowMaps, c.rowMaps);
        if (c.summary) {
            EXPECT_EQ(differencesSummary(differences).plain(), c.summary);
        }
    }
}

} // namespace
