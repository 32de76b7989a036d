// Every image the windows ask for must be compiled in, be a PNG and have the
// size the toolbar and the about box are laid out for.
#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "resources/embedded_resources.h"

namespace {

struct ExpectedImage {
    const char* name;
    std::uint32_t width;
    std::uint32_t height;
};

constexpr ExpectedImage kExpectedImages[] = {
    {"icon_app", 64, 64},          {"about_logo", 400, 100},
    {"tool_load_bin", 48, 48},     {"tool_save_bin", 48, 48},
    {"tool_load_map", 48, 48},     {"tool_map_viewer", 48, 48},
    {"tool_map_editor", 48, 48},   {"tool_table_editor", 48, 48},
    {"tool_2d_editor", 48, 48},    {"tool_preferences", 48, 48},
    {"tool_about", 48, 48},        {"tool_quit", 48, 48},
};

constexpr unsigned char kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t bigEndian32(const unsigned char* p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

} // namespace

TEST(EmbeddedResources, EveryImageIsAPngOfItsSize)
{
    for (const ExpectedImage& expected : kExpectedImages) {
        SCOPED_TRACE(expected.name);
        const EmbeddedResource* resource = findEmbeddedResource(expected.name);
        ASSERT_NE(resource, nullptr);
        ASSERT_GE(resource->size, 33u); // signature + IHDR chunk
        const unsigned char* data = resource->data;
        EXPECT_EQ(std::memcmp(data, kPngSignature, sizeof kPngSignature), 0);
        // The first chunk is IHDR: length 13, then width and height.
        EXPECT_EQ(bigEndian32(data + 8), 13u);
        EXPECT_EQ(std::memcmp(data + 12, "IHDR", 4), 0);
        EXPECT_EQ(bigEndian32(data + 16), expected.width);
        EXPECT_EQ(bigEndian32(data + 20), expected.height);
        // Colour type 6: RGBA, so the images sit on any toolbar background.
        EXPECT_EQ(data[25], 6);
    }
}

TEST(EmbeddedResources, LookupIsExact)
{
    EXPECT_EQ(findEmbeddedResource(""), nullptr);
    EXPECT_EQ(findEmbeddedResource("tool_quit.png"), nullptr);
    EXPECT_EQ(findEmbeddedResource("tool_qui"), nullptr);
    const EmbeddedResource* quit = findEmbeddedResource("tool_quit");
    ASSERT_NE(quit, nullptr);
    EXPECT_STREQ(quit->name, "tool_quit");
}
