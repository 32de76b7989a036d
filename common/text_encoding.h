#pragma once
// Texts read from definition files: current files hold UTF-8, but files from
// older tools may hold Windows-1252 bytes. Everything the program keeps is
// UTF-8.
#include <cstddef>
#include <string>
#include <string_view>

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool isValidUtf8(const char* data, std::size_t size);

// Makes the text UTF-8: left as it is when it already is valid UTF-8,
// otherwise read as Windows-1252 (so a legacy 0xB0 in "°C" stays "°C"); in a
// text with more UTF-8 characters than stray bytes, only the strays are.
void legacyTextToUtf8(std::string& text);

// The text with each byte that is not part of a well-formed UTF-8 sequence
// replaced by U+FFFD.
std::string validUtf8(std::string_view text);

// The same, and also every character that XML 1.0 cannot carry, even as a
// character reference, replaced by U+FFFD: the controls other than tab, line
// feed and carriage return, NUL, U+FFFE and U+FFFF.
std::string xml10Text(std::string_view text);
