#pragma once
// Map cells and stored axis values: bytes of a ROM image or a working copy
// turned into numbers and back, as one axis definition prescribes (width,
// sign, byte order, factor, offset, decimal places). The codec holds no
// state; callers make sure the cell lies inside the block they pass.
#include <cstddef>
#include <cstdint>

#include "definitions/map_definition.h"

namespace CellCodec {

// Bytes of one cell: 1, 2 or 4 for 8, 16 or 32 bits; 0 for any other width
// (such a cell reads as 0 and takes no writes).
int cellSize(const AxisDefinition& axis);

// The cell's bits as a 32-bit signed number: 8 and 16-bit signed cells are
// sign-extended, a 32-bit cell always reads as its two's complement.
std::int32_t readRawValue(const std::uint8_t* block, std::size_t position, const AxisDefinition& axis);

// Stores the low 8, 16 or 32 bits of the value (no range check: 300 in an
// 8-bit cell stores 44). What the user writes goes through the writes below,
// which never wrap.
void writeRawValue(std::uint8_t* block, std::size_t position, const AxisDefinition& axis, std::int32_t value);

// The smallest and largest number a cell holds, by its width and sign:
// 0..255, -128..127, 0..65535, -32768..32767, 0..4294967295 or the signed
// 32-bit range. False for a width without a cell.
bool cellLimits(const AxisDefinition& axis, double& lowest, double& highest);

// The cell's number at its own width and sign (an unsigned 32-bit cell reads
// 0..4294967295 here, unlike readRawValue).
std::int64_t readCellNumber(const std::uint8_t* block, std::size_t position, const AxisDefinition& axis);

// Stores a number, truncated toward zero, held at the cell's limits (300 in
// an unsigned 8-bit cell stores 255). True when it was held at a limit.
// Not-a-number stores 0; a width without a cell stores nothing.
bool storeCellNumber(std::uint8_t* block, std::size_t position, const AxisDefinition& axis, double number);

// A raw value as the raw view shows it, stored like storeCellNumber. The raw
// view shows an unsigned 32-bit cell with its top bit set as a negative
// number (readRawValue); such a number (-2147483648..-1) stands for those bits.
bool storeRawValue(std::uint8_t* block, std::size_t position, const AxisDefinition& axis, double raw);

// (raw + offset) x factor, rounded to the axis's decimal places. Unsigned
// cells read as unsigned numbers here, so FF FF FF FF reads 4294967295.
double readEngValue(const std::uint8_t* block, std::size_t position, const AxisDefinition& axis);

// A value that a raw number reads as exactly is stored as that number,
// whatever places the cell shows and whatever floating-point noise the
// division leaves (10.03 with factor 0.01 stores 1003, and 2.35 stores 235
// also where the cell shows one place). Any other value is rounded to the
// axis's places, multiplied by the reciprocal of the factor, the offset
// subtracted; a raw number that reads as the rounded value is stored, else
// the result goes toward zero (2.9 with factor 1 stores 2). The result is held at the cell's
// limits (true when it was); not-a-number, and any value with factor 0,
// stores 0.
bool writeEngValue(std::uint8_t* block, std::size_t position, const AxisDefinition& axis, double value);

// Whether a and b differ only by the rounding of a few operations on numbers
// as large as `scale` (or as a and b): a number meant exactly, as computed.
// Any real difference counts, however large the numbers (4000000000.999 is
// not 4000000001).
bool sameButForRounding(double a, double b, double scale);

// floor(value x 10^places + 0.5) / 10^places: ties go toward +infinity. A
// value that this would push beyond the range of a double (1e300 to 10
// places, or any value to 400 places) is returned as it is.
double roundToDecimals(double value, int places);

// Byte offset of cell (x, y) from the start of the map's block: column by
// column when the Z axis has the X/Y data order flag, else row by row.
std::size_t cellOffset(const MapDefinition& map, int x, int y);

// Bytes of the map's block: X count x Y count x width, the width taken as 1
// for 8-bit, 2 for 16-bit and 4 for any other cells.
std::size_t blockSize(const MapDefinition& map);

// Whether the map's whole block lies inside an image of `imageSize` bytes.
bool blockFits(const MapDefinition& map, std::size_t imageSize);

// Whether cells written under one definition mean the same under the other:
// the same block (address, counts, width, flags) and the same scaling.
bool sameCells(const MapDefinition& a, const MapDefinition& b);

// Value `index` of an axis whose values are stored in the image (at the
// axis address, one cell size apart). False, value untouched, when that
// value does not lie wholly inside the image.
bool readStoredAxisValue(const std::uint8_t* image, std::size_t imageSize, const AxisDefinition& axis, int index,
                         double& value);

} // namespace CellCodec
