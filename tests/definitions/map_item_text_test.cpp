#include <gtest/gtest.h>

#include "definitions/map_item_text.h"

namespace {

struct ItemTextRow {
    const char* title;
    unsigned xCount;
    unsigned yCount;
    const char* address;
    const char* expected;
};

TEST(MapItemText, BuildsTheViewerLine)
{
    const ItemTextRow rows[] = {
        {"Spark", 1, 1, "0", "Spark (0) [1x1]"},
        {"Ignition", 16, 12, "1A2B0", "Ignition (1A2B0) [16x12]"},
        {"", 0, 0, "FFFFFFFF", " (FFFFFFFF) [0x0]"},
        {"Boost", 65535, 256, "10000", "Boost (10000) [65535x256]"},
        // Titles are UTF-8 bytes and pass through untouched.
        {"Z\xC3\xBCndung \xC2\xB0" "C", 8, 4, "ABC", "Z\xC3\xBCndung \xC2\xB0" "C (ABC) [8x4]"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(mapItemText(row.title, row.xCount, row.yCount, row.address), row.expected)
            << "title \"" << row.title << "\"";
}

} // namespace
