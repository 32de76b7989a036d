#include "common/text_encoding.h"

#include <gtest/gtest.h>

TEST(TextEncoding, FileTextToUtf8)
{
    struct Row { const char* in; const char* out; };
    const Row rows[] = {
        {"plain", "plain"},
        {"\xC2\xB0" "C", "°C"},                      // valid UTF-8 stays
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},    // four-byte form
        {"\xB0" "C", "°C"},                          // Windows-1252
        {"\x80 \x9F \xFF", "€ Ÿ ÿ"},
        {"\x81", "\xC2\x81"},                        // undefined in the code page
        {"\xC0\x80", "À€"},                          // overlong: not UTF-8
        {"\xED\xA0\x80", "í\xC2\xA0€"},              // surrogate: not UTF-8
        {"\xF4\x90\x80\x80", "ô\xC2\x90€€"},         // above U+10FFFF
        {"ab\xE2\x82", "abâ‚"},                      // cut-off sequence
        {"°C \xB0", "Â°C °"},                          // mixed: the whole text is legacy
        {"0123456789abcdef\xB0", "0123456789abcdef°"},  // past a long ASCII run
        {"0123456789abcdef°C 01234567", "0123456789abcdef°C 01234567"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(fileTextToUtf8(row.in), row.out) << row.in;
    EXPECT_EQ(fileTextToUtf8(nullptr), "");
}
