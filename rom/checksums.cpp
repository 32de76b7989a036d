#include "rom/checksums.h"

#include <array>
#include <bit>
#include <cstring>

// All three checksums share one slicing table whose 64-bit entries hold the
// CRC-32 contribution in bits 0-31, the CRC-16 one in bits 32-47 and the CRC-8
// one in bits 48-55. Row k maps a byte to its contribution when k zero bytes
// follow it, so a 16-byte block costs 16 independent lookups (one per byte for
// all three checksums) instead of a dependent chain of 16 steps per checksum.
// Row 0 is the classic one-byte table; results are identical to the
// byte-at-a-time definition.

namespace {

constexpr std::size_t kSlice = 16;
constexpr unsigned kShift16 = 32;
constexpr unsigned kShift8 = 48;

using SliceTable = std::array<std::array<std::uint64_t, 256>, kSlice>;

constexpr std::uint32_t field32(std::uint64_t e) { return static_cast<std::uint32_t>(e); }
constexpr std::uint16_t field16(std::uint64_t e) { return static_cast<std::uint16_t>(e >> kShift16); }
constexpr std::uint8_t field8(std::uint64_t e) { return static_cast<std::uint8_t>(e >> kShift8); }

constexpr std::uint64_t entry(std::uint32_t c32, std::uint16_t c16, std::uint8_t c8)
{
    return c32 | (std::uint64_t{c16} << kShift16) | (std::uint64_t{c8} << kShift8);
}

constexpr SliceTable makeTable()
{
    SliceTable t{};
    for (unsigned i = 0; i < 256; ++i) {
        std::uint32_t c32 = i;
        std::uint16_t c16 = static_cast<std::uint16_t>(i);
        unsigned c8 = i;
        for (int bit = 0; bit < 8; ++bit) {
            c32 = (c32 & 1) ? (c32 >> 1) ^ 0xEDB88320u : c32 >> 1;
            c16 = static_cast<std::uint16_t>((c16 & 1) ? (c16 >> 1) ^ 0xA001 : c16 >> 1);
            c8 = ((c8 & 0x80) ? (c8 << 1) ^ 0x07 : c8 << 1) & 0xFF;
        }
        t[0][i] = entry(c32, c16, static_cast<std::uint8_t>(c8));
    }
    // One more zero byte: the reflected CRCs shift right by a byte, the
    // MSB-first CRC-8 (whose state is a single byte) takes one more table step.
    for (std::size_t k = 1; k < kSlice; ++k)
        for (unsigned i = 0; i < 256; ++i) {
            const std::uint64_t p = t[k - 1][i];
            const std::uint32_t c32 = (field32(p) >> 8) ^ field32(t[0][field32(p) & 0xFF]);
            const std::uint16_t c16 =
                static_cast<std::uint16_t>((field16(p) >> 8) ^ field16(t[0][field16(p) & 0xFF]));
            const std::uint8_t c8 = field8(t[0][field8(p)]);
            t[k][i] = entry(c32, c16, c8);
        }
    return t;
}

constexpr SliceTable kTable = makeTable();

static_assert(field32(kTable[0][1]) == 0x77073096u && field16(kTable[0][1]) == 0xC0C1
              && field8(kTable[0][1]) == 0x07);

// Word loads assume little-endian byte order; elsewhere the byte loops run.
constexpr bool kCanSlice = std::endian::native == std::endian::little;

inline std::uint64_t load64(const std::uint8_t* p)
{
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Byte j of a block (j = 0..15) is followed by 15 - j more bytes of the block.
template <unsigned J>
inline std::uint64_t lookup(std::uint64_t word)
{
    return kTable[kSlice - 1 - J][(word >> (8 * (J % 8))) & 0xFF];
}

// Contribution of a 16-byte block given as two little-endian words.
inline std::uint64_t blockSum(std::uint64_t lo, std::uint64_t hi)
{
    return (lookup<0>(lo) ^ lookup<1>(lo) ^ lookup<2>(lo) ^ lookup<3>(lo))
           ^ (lookup<4>(lo) ^ lookup<5>(lo) ^ lookup<6>(lo) ^ lookup<7>(lo))
           ^ (lookup<8>(hi) ^ lookup<9>(hi) ^ lookup<10>(hi) ^ lookup<11>(hi))
           ^ (lookup<12>(hi) ^ lookup<13>(hi) ^ lookup<14>(hi) ^ lookup<15>(hi));
}

inline std::uint8_t step8(std::uint8_t c, std::uint8_t b)
{
    return field8(kTable[0][c ^ b]);
}

inline std::uint16_t step16(std::uint16_t c, std::uint8_t b)
{
    return static_cast<std::uint16_t>((c >> 8) ^ field16(kTable[0][(c ^ b) & 0xFF]));
}

inline std::uint32_t step32(std::uint32_t c, std::uint8_t b)
{
    return (c >> 8) ^ field32(kTable[0][(c ^ b) & 0xFF]);
}

} // namespace

// For one checksum alone the state simply goes into the first bytes of the
// block; what the lookups add to the other two fields is ignored.

std::uint8_t checksum8(const std::uint8_t* data, std::size_t size)
{
    std::uint8_t c = 0xFF;
    std::size_t i = 0;
    if constexpr (kCanSlice)
        for (; i + kSlice <= size; i += kSlice)
            c = field8(blockSum(load64(data + i) ^ c, load64(data + i + 8)));
    for (; i < size; ++i)
        c = step8(c, data[i]);
    return c;
}

std::uint16_t checksum16(const std::uint8_t* data, std::size_t size)
{
    std::uint16_t c = 0xFFFF;
    std::size_t i = 0;
    if constexpr (kCanSlice)
        for (; i + kSlice <= size; i += kSlice)
            c = field16(blockSum(load64(data + i) ^ c, load64(data + i + 8)));
    for (; i < size; ++i)
        c = step16(c, data[i]);
    return c;
}

std::uint32_t checksum32(const std::uint8_t* data, std::size_t size)
{
    std::uint32_t c = 0xFFFFFFFFu;
    std::size_t i = 0;
    if constexpr (kCanSlice)
        for (; i + kSlice <= size; i += kSlice)
            c = field32(blockSum(load64(data + i) ^ c, load64(data + i + 8)));
    for (; i < size; ++i)
        c = step32(c, data[i]);
    return c;
}

ImageChecksums imageChecksums(const std::uint8_t* data, std::size_t size)
{
    // The data bytes are looked up once for all three checksums; each state is
    // then added through its own first bytes (the tables are linear, so
    // T[b ^ s] = T[b] ^ T[s]), taking only its own field of those entries.
    std::uint8_t c8 = 0xFF;
    std::uint16_t c16 = 0xFFFF;
    std::uint32_t c32 = 0xFFFFFFFFu;
    std::size_t i = 0;
    if constexpr (kCanSlice)
        for (; i + kSlice <= size; i += kSlice) {
            const std::uint64_t sum = blockSum(load64(data + i), load64(data + i + 8));
            const std::uint64_t s32 = lookup<0>(c32) ^ lookup<1>(c32) ^ lookup<2>(c32) ^ lookup<3>(c32);
            const std::uint64_t s16 = lookup<0>(c16) ^ lookup<1>(c16);
            const std::uint64_t s8 = lookup<0>(c8);
            c32 = field32(sum ^ s32);
            c16 = field16(sum ^ s16);
            c8 = field8(sum ^ s8);
        }
    for (; i < size; ++i) {
        c8 = step8(c8, data[i]);
        c16 = step16(c16, data[i]);
        c32 = step32(c32, data[i]);
    }
    return {c8, c16, c32};
}
