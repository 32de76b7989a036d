#pragma once
// Numbers as definition files write them. Always read with the C conventions
// ("." as decimal point), whatever locale the desktop gave the process. A
// null text reads like an empty one.
#include <cstdint>

// Hex notation: only the first ten characters count ("0x" and eight digits);
// 0x/0X hexadecimal, a leading 0 octal, otherwise decimal, as strtoul with
// base 0 reads them. No digits give 0.
std::uint32_t readHexNotation(const char* text);

// Int notation: decimal with optional blanks and sign, up to the first
// non-digit, truncated to 16 bits. No digits give 0.
std::uint16_t readIntNotation(const char* text);

// Real notation: the whole text must be a number, otherwise `fallback`.
double readRealNotation(const char* text, double fallback);

// An unsigned number in any base strtoul knows with base 0 (the whole text).
unsigned long readUnsignedNotation(const char* text);

// The floating-point number at the start of the text; none gives 0.
double readLeadingReal(const char* text);
