#pragma once
// Numbers as the grid, the clipboard and the input fields show and read them:
// always with a point as decimal separator, whatever the desktop's locale.
#include <string>
#include <string_view>

// More places than a double can carry are never shown: "%.<places>f" with
// places clamped to this, so a bogus definition cannot make giant texts.
constexpr int kMaxShownDecimals = 30;

// "%.<places>f".
std::string formatFixed(double value, int places);

// The value truncated toward zero, as a whole number in full ("%i" style for
// any magnitude, "-0" never shown).
std::string formatWhole(double value);

// The whole text as a floating-point number (leading blanks allowed, as in
// strtod); false for an empty text, trailing characters or a value beyond
// the range of a double.
bool parseReal(std::string_view text, double& value);
