#include "common/text_encoding.h"

#include <gtest/gtest.h>

// A text that is not UTF-8 is read as Windows-1252 (as a whole, unless it
// holds more UTF-8 characters than stray bytes); or, where it
// must stay as it is, each byte outside a well-formed sequence becomes U+FFFD.
TEST(TextEncoding, LegacyAndBrokenTexts)
{
    struct Row { const char* in; const char* legacy; const char* valid; };
    const Row rows[] = {
        {"plain", "plain", "plain"},
        {"\xC2\xB0" "C", "°C", "°C"},                                         // valid UTF-8 stays
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},         // four-byte form
        {"\xB0" "C", "°C", "\uFFFD" "C"},                                     // Windows-1252
        {"\x80 \x9F \xFF", "€ Ÿ ÿ", "\uFFFD \uFFFD \uFFFD"},
        {"\x81", "\xC2\x81", "\uFFFD"},                                       // undefined in the code page
        {"\xC0\x80", "À€", "\uFFFD\uFFFD"},                                   // overlong: not UTF-8
        {"\xED\xA0\x80", "í\xC2\xA0€", "\uFFFD\uFFFD\uFFFD"},                 // surrogate: not UTF-8
        {"\xF4\x90\x80\x80", "ô\xC2\x90€€", "\uFFFD\uFFFD\uFFFD\uFFFD"},      // above U+10FFFF
        {"ab\xE2\x82", "abâ‚", "ab\uFFFD\uFFFD"},                            // cut-off sequence
        {"°C \xB0", "Â°C °", "°C \uFFFD"},                                    // as many strays: the whole text is legacy
        {"°C Zündung \x92", "°C Zündung ’", "°C Zündung \uFFFD"},           // more UTF-8: only the stray
        {"Fu\xDF\x93 Gru\xDF\x93 \xE4", "Fuß“ Gruß“ ä", "Fu\xDF\x93 Gru\xDF\x93 \uFFFD"},  // "ß“" is legacy too
        {"0123456789abcdef\xB0", "0123456789abcdef°", "0123456789abcdef\uFFFD"},  // past a long ASCII run
        {"0123456789abcdef°C 01234567", "0123456789abcdef°C 01234567", "0123456789abcdef°C 01234567"},
    };
    for (const Row& row : rows) {
        std::string text = row.in;
        legacyTextToUtf8(text);
        EXPECT_EQ(text, row.legacy) << row.in;
        EXPECT_EQ(validUtf8(row.in), row.valid) << row.in;
    }
}
