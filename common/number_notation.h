#pragma once
// Numbers as definition files write them. Always read with the C conventions
// ("." as decimal point), whatever locale the desktop gave the process. A
// null text reads like an empty one.
#include <cstdint>
#include <string>

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

// Real notation as files are written: fixed with six decimals ("%f") where
// that reads back to the same double, as files have always been written
// ("1.000000", "0.010000"), otherwise the shortest text that does
// ("0.00390625", "5e-07"). Infinities and not-a-number are written as "%f"
// writes them.
std::string realNotationText(double value);
