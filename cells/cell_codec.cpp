#include "cells/cell_codec.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>

namespace CellCodec {

namespace {

bool isSigned(const AxisDefinition& axis)
{
    return (axis.flags & AxisSigned) != 0;
}

bool lsbFirst(const AxisDefinition& axis)
{
    return (axis.flags & AxisLsbFirst) != 0;
}

std::uint32_t readBits(const std::uint8_t* b, const AxisDefinition& axis)
{
    switch (axis.bits) {
    case 8:
        return b[0];
    case 16:
        return lsbFirst(axis) ? b[0] | b[1] << 8 : b[0] << 8 | b[1];
    case 32:
        return lsbFirst(axis) ? std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
                                    std::uint32_t(b[3]) << 24
                              : std::uint32_t(b[0]) << 24 | std::uint32_t(b[1]) << 16 |
                                    std::uint32_t(b[2]) << 8 | std::uint32_t(b[3]);
    default:
        return 0;
    }
}

void writeBits(std::uint8_t* b, const AxisDefinition& axis, std::uint32_t u)
{
    switch (axis.bits) {
    case 8:
        b[0] = static_cast<std::uint8_t>(u);
        break;
    case 16:
        if (lsbFirst(axis)) {
            b[0] = static_cast<std::uint8_t>(u);
            b[1] = static_cast<std::uint8_t>(u >> 8);
        } else {
            b[0] = static_cast<std::uint8_t>(u >> 8);
            b[1] = static_cast<std::uint8_t>(u);
        }
        break;
    case 32:
        for (int i = 0; i < 4; ++i) {
            const int shift = lsbFirst(axis) ? 8 * i : 8 * (3 - i);
            b[i] = static_cast<std::uint8_t>(u >> shift);
        }
        break;
    default:
        break;
    }
}

// The signed reading of the cell's bits at its own width.
std::int32_t signExtend(std::uint32_t u, const AxisDefinition& axis)
{
    if (axis.bits == 8)
        return static_cast<std::int8_t>(static_cast<std::uint8_t>(u));
    if (axis.bits == 16)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(u));
    return static_cast<std::int32_t>(u);
}

} // namespace

int cellSize(const AxisDefinition& axis)
{
    return cellWidthBytes(axis.bits);
}

std::int32_t readRawValue(const std::uint8_t* block, std::size_t position, const AxisDefinition& axis)
{
    const std::uint32_t u = readBits(block + position, axis);
    // Unsigned 8 and 16-bit values fit as they are; a 32-bit value is carried
    // as its two's complement either way.
    return isSigned(axis) ? signExtend(u, axis) : static_cast<std::int32_t>(u);
}

void writeRawValue(std::uint8_t* block, std::size_t position, const AxisDefinition& axis, std::int32_t value)
{
    writeBits(block + position, axis, static_cast<std::uint32_t>(value));
}

double readEngValue(const std::uint8_t* block, std::size_t position, const AxisDefinition& axis)
{
    const std::uint32_t u = readBits(block + position, axis);
    const double x = isSigned(axis) ? double(signExtend(u, axis)) : double(u);
    return roundToDecimals((x + axis.offset) * axis.factor, axis.decimalpl);
}

bool cellLimits(const AxisDefinition& axis, double& lowest, double& highest)
{
    const bool sign = isSigned(axis);
    switch (axis.bits) {
    case 8:
        lowest = sign ? -128.0 : 0.0;
        break;
    case 16:
        lowest = sign ? -32768.0 : 0.0;
        break;
    case 32:
        lowest = sign ? -2147483648.0 : 0.0;
        break;
    default:
        return false;
    }
    highest = lowest + (axis.bits == 8 ? 255.0 : axis.bits == 16 ? 65535.0 : 4294967295.0);
    return true;
}

std::int64_t readCellNumber(const std::uint8_t* block, std::size_t position, const AxisDefinition& axis)
{
    const std::uint32_t u = readBits(block + position, axis);
    return isSigned(axis) ? std::int64_t(signExtend(u, axis)) : std::int64_t(u);
}

namespace {

// Stores a whole number (or an infinity) held at the cell's limits.
// `asked`: the number before it was made whole; one past a limit by less
// than a step (127.5 in a signed 8-bit cell) is held there too, not rounded,
// unless the limit reads as the engineering value `shown` (the lowest value
// shown at fewer places than it has).
bool storeWhole(std::uint8_t* block, std::size_t position, const AxisDefinition& axis, double whole, double asked,
                const double* shown = nullptr)
{
    double lowest = 0, highest = 0;
    if (!cellLimits(axis, lowest, highest))
        return false;
    const bool wholeOutside = whole < lowest || whole > highest;
    bool held = wholeOutside || asked < lowest || asked > highest;
    whole = std::clamp(whole, lowest, highest);
    if (held && !wholeOutside && shown &&
        roundToDecimals((whole + axis.offset) * axis.factor, axis.decimalpl) == *shown)
        held = false;
    // Within the limits the number fits 64 bits; its low bits are the cell's.
    writeBits(block + position, axis, static_cast<std::uint32_t>(static_cast<std::int64_t>(whole)));
    return held;
}

// Truncation toward zero; not-a-number gives 0.
double wholePart(double number)
{
    if (std::fabs(number) < 4503599627370496.0)   // 2^52: below it the cast is exact and fast
        return double(static_cast<std::int64_t>(number));
    return std::isnan(number) ? 0.0 : number;    // larger doubles are whole already
}

} // namespace

bool storeCellNumber(std::uint8_t* block, std::size_t position, const AxisDefinition& axis, double number)
{
    return storeWhole(block, position, axis, wholePart(number), number);
}

bool storeRawValue(std::uint8_t* block, std::size_t position, const AxisDefinition& axis, double raw)
{
    double whole = wholePart(raw);
    if (axis.bits == 32 && !isSigned(axis) && raw < 0 && raw > -1)
        raw = 0;   // toward zero lands on 0, which the cell holds
    if (axis.bits == 32 && !isSigned(axis) && whole < 0 && whole >= -2147483648.0) {
        whole += 4294967296.0;
        raw += 4294967296.0;
    }
    return storeWhole(block, position, axis, whole, raw);
}

bool writeEngValue(std::uint8_t* block, std::size_t position, const AxisDefinition& axis, double value)
{
    if (axis.factor == 0)   // every raw number reads 0
        return storeWhole(block, position, axis, 0.0, 0.0);
    const double reciprocal = 1.0 / axis.factor;
    // A value that a raw number reads as exactly is stored as that number,
    // at whatever places the cell shows (2.35 with factor 0.01 stores 235
    // where the cell shows one place).
    const double product = value * reciprocal;
    const double exact = product - axis.offset;
    const double nearest = std::nearbyint(exact);
    const double scale = std::max(std::fabs(product), std::fabs(axis.offset));
    if (std::isfinite(exact) && sameButForRounding(exact, nearest, scale))
        return storeWhole(block, position, axis, nearest, nearest);
    const double r = roundToDecimals(value, axis.decimalpl);
    const double rProduct = r * reciprocal;
    const double raw = rProduct - axis.offset;
    double whole = wholePart(raw);
    // The division may land a hair short of the raw number whose reading is
    // exactly r (10.03 x 100 = 1002.9999999999999): then the next number away
    // from zero is the one meant. So it is too when both read as r at fewer
    // places than the factor has (2.3 x 100 = 229.99999999999997, and 229
    // shows 2.3 at one place) but only noise parts the division from the
    // next. A value that neither reads as lies between two raw steps and
    // keeps the truncation.
    if (raw != whole && std::isfinite(raw)) {
        const double next = whole + (raw < 0 ? -1.0 : 1.0);
        // Both readings at once: neither waits for the other's division.
        const double readsWhole = roundToDecimals((whole + axis.offset) * axis.factor, axis.decimalpl);
        const double readsNext = roundToDecimals((next + axis.offset) * axis.factor, axis.decimalpl);
        if (readsNext == r &&
            (readsWhole != r || sameButForRounding(raw, next, std::max(std::fabs(rProduct), std::fabs(axis.offset)))))
            whole = next;
    }
    return storeWhole(block, position, axis, whole, raw, &r);
}

bool sameButForRounding(double a, double b, double scale)
{
    // A few units in the last place of the largest number involved.
    scale = std::max({std::fabs(a), std::fabs(b), std::fabs(scale)});
    return std::fabs(a - b) <= 8 * std::numeric_limits<double>::epsilon() * scale;
}

double roundToDecimals(double value, int places)
{
    // Every cell read and engineering write rounds: look the usual powers up
    // (exact in double, so the same numbers std::pow gives) rather than
    // calling pow millions of times over a large map.
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double p = places >= 0 && places < int(std::size(kPowers)) ? kPowers[places] : std::pow(10.0, places);
    const double scaled = value * p;
    // Beyond the range of a double the rounding would turn the value into
    // infinity or not-a-number; such a value has no digits left to round.
    if (!std::isfinite(scaled) || !std::isfinite(p))
        return value;
    return std::floor(scaled + 0.5) / p;
}

std::size_t cellOffset(const MapDefinition& map, int x, int y)
{
    const std::size_t countX = map.axes[AxisX].count;
    const std::size_t countY = map.axes[AxisY].count;
    const std::size_t size = static_cast<std::size_t>(cellSize(map.axes[AxisZ]));
    if (map.axes[AxisZ].flags & AxisDataOrderXY)
        return (static_cast<std::size_t>(x) * countY + static_cast<std::size_t>(y)) * size;
    return (static_cast<std::size_t>(y) * countX + static_cast<std::size_t>(x)) * size;
}

std::size_t blockSize(const MapDefinition& map)
{
    const std::uint16_t bits = map.axes[AxisZ].bits;
    const std::size_t width = bits == 8 ? 1 : bits == 16 ? 2 : 4;
    return std::size_t(map.axes[AxisX].count) * map.axes[AxisY].count * width;
}

bool blockFits(const MapDefinition& map, std::size_t imageSize)
{
    const std::size_t address = map.axes[AxisZ].address;
    const std::size_t size = blockSize(map);
    return address <= imageSize && size <= imageSize - address;
}

bool sameCells(const MapDefinition& a, const MapDefinition& b)
{
    const AxisDefinition& za = a.axes[AxisZ];
    const AxisDefinition& zb = b.axes[AxisZ];
    return za.address == zb.address && za.bits == zb.bits && za.flags == zb.flags && za.factor == zb.factor &&
           za.offset == zb.offset && a.axes[AxisX].count == b.axes[AxisX].count &&
           a.axes[AxisY].count == b.axes[AxisY].count;
}

bool readStoredAxisValue(const std::uint8_t* image, std::size_t imageSize, const AxisDefinition& axis, int index,
                         double& value)
{
    const std::size_t size = static_cast<std::size_t>(cellSize(axis));
    if (index < 0 || !image)
        return false;
    const std::size_t position = std::size_t(axis.address) + std::size_t(index) * size;
    // A width without a cell reads no byte at all (and so reads as 0).
    if (size > 0 && (position > imageSize || size > imageSize - position))
        return false;
    value = readEngValue(image, position, axis);
    return true;
}

} // namespace CellCodec
