#pragma once
// Numbers as users type them into fields and as the clipboard and grid carry
// them, always with "." as the decimal separator whatever the desktop locale.
//
// A text is "a number" when, after leading and trailing white space is set
// aside, all of it is one decimal number: an optional sign ("+" or "-"),
// digits with an optional "." fraction and an optional exponent ("1.5e3").
// Hexadecimal, "inf", "nan", a number followed by anything else ("1x"), and
// values beyond the double range are not numbers. An empty text is not one.
#include <cstdint>
#include <string>
#include <string_view>

// A decimal floating-point number, as above.
bool numberFromText(std::string_view text, double& value);

// A base-10 whole number in the 64-bit range, with the same rules for white
// space and sign; no fraction and no exponent.
bool integerFromText(std::string_view text, std::int64_t& value);

// "%.<places>f": fixed notation with `places` decimals. Not-a-number prints
// as "nan" (whatever its sign bit), infinities as "inf" and "-inf".
std::string formatFixed(double value, int places);
void appendFixed(std::string& text, double value, int places);
// The number that text reads back as, without writing it where it can
// (the value itself for "nan" and the infinities).
double fixedTextValue(double value, int places);

// "%i".
void appendInteger(std::string& text, std::int64_t value);

// Truncation toward zero to a 32-bit integer. A value outside the 32-bit
// range, or not a number, gives the smallest one (-2147483648), as the
// processor's own conversion does, so no such value is ever undefined.
std::int32_t truncateToInt32(double value);
