#pragma once
// Texts read from definition files: current files hold UTF-8, but files from
// older tools may hold Windows-1252 bytes. Everything the program keeps is
// UTF-8.
#include <cstddef>
#include <string>

// True when the bytes are well-formed UTF-8 (no overlong forms, no
// surrogates, nothing above U+10FFFF).
bool isValidUtf8(const char* data, std::size_t size);

// The text as UTF-8: unchanged when it already is valid UTF-8, otherwise read
// as Windows-1252 (so a legacy 0xB0 in "°C" stays "°C"). Null gives "".
std::string fileTextToUtf8(const char* text);
