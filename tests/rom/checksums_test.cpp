#include <gtest/gtest.h>

#include "rom/checksums.h"
#include "common/hex_format.h"
#include "test_support.h"

namespace {

// Bit-at-a-time definitions, independent of any table.
std::uint8_t bitwise8(const std::uint8_t* p, std::size_t n)
{
    unsigned c = 0xFF;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int b = 0; b < 8; ++b)
            c = ((c & 0x80) ? (c << 1) ^ 0x07 : c << 1) & 0xFF;
    }
    return static_cast<std::uint8_t>(c);
}

std::uint16_t bitwise16(const std::uint8_t* p, std::size_t n)
{
    unsigned c = 0xFFFF;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int b = 0; b < 8; ++b)
            c = (c & 1) ? (c >> 1) ^ 0xA001 : c >> 1;
    }
    return static_cast<std::uint16_t>(c);
}

std::uint32_t bitwise32(const std::uint8_t* p, std::size_t n)
{
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int b = 0; b < 8; ++b)
            c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    }
    return c;
}

ImageChecksums reference(const std::uint8_t* p, std::size_t n)
{
    return {bitwise8(p, n), bitwise16(p, n), bitwise32(p, n)};
}

// Each sum alone and all three in one pass.
void expectSums(const std::uint8_t* p, std::size_t n, const ImageChecksums& expected)
{
    EXPECT_EQ(checksum8(p, n), expected.c8);
    EXPECT_EQ(checksum16(p, n), expected.c16);
    EXPECT_EQ(checksum32(p, n), expected.c32);
    const ImageChecksums all = imageChecksums(p, n);
    EXPECT_EQ(all.c8, expected.c8);
    EXPECT_EQ(all.c16, expected.c16);
    EXPECT_EQ(all.c32, expected.c32);
}

TEST(Checksums, KnownValues)
{
    const struct {
        std::vector<std::uint8_t> bytes;
        ImageChecksums sums;
    } rows[] = {
        {{'1', '2', '3', '4', '5', '6', '7', '8', '9'}, {0xFB, 0x4B37, 0x340BC6D9u}},
        {{0x00}, {0xF3, 0x40BF, 0x2DFD1072u}},
        {{0xFF}, {0x00, 0x00FF, 0x00FFFFFFu}},
        {{}, {0xFF, 0xFFFF, 0xFFFFFFFFu}},   // nothing processed: the start values
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.bytes));
        expectSums(row.bytes.data(), row.bytes.size(), row.sums);
    }
}

// Every length around the block size, odd large sizes and unaligned starts,
// so the block loop, the byte tail and their hand-over are all exercised.
TEST(Checksums, MatchBitwiseReferenceOverRandomData)
{
    const std::vector<std::uint8_t> pool = randomBytes(2 * 65536 + 64, 42);
    std::vector<std::size_t> lengths;
    for (std::size_t n = 0; n <= 100; ++n)
        lengths.push_back(n);
    for (std::size_t n : {127u, 128u, 129u, 1000u, 4095u, 4097u, 65535u, 65537u, 131071u})
        lengths.push_back(n);

    for (std::size_t offset : {0u, 1u, 3u, 7u, 13u}) {
        for (std::size_t n : lengths) {
            SCOPED_TRACE("offset " + std::to_string(offset) + " length " + std::to_string(n));
            expectSums(pool.data() + offset, n, reference(pool.data() + offset, n));
            if (HasFailure())
                return;   // one failing length tells enough
        }
    }
}

// Data chosen to drive the states through extreme values (all ones, all zeros).
TEST(Checksums, UniformBlocksMatchReference)
{
    for (std::uint8_t fill : {0x00, 0xFF, 0x55, 0x80}) {
        const std::vector<std::uint8_t> bytes(1000, fill);
        SCOPED_TRACE(static_cast<int>(fill));
        expectSums(bytes.data(), bytes.size(), reference(bytes.data(), bytes.size()));
    }
}

TEST(FormatHex, UpperCaseWithoutLeadingZeros)
{
    const std::vector<std::pair<std::uint32_t, std::string>> rows = {
        {0, "0"},           {0xF, "F"},          {0x10, "10"},       {0xFF, "FF"},
        {0x1234, "1234"},   {0xABCDEF, "ABCDEF"}, {0x00FFFFFFu, "FFFFFF"},
        {0x80000000u, "80000000"}, {0xFFFFFFFFu, "FFFFFFFF"},
    };
    for (const auto& [value, text] : rows)
        EXPECT_EQ(formatHex(value), text) << value;
}

} // namespace
