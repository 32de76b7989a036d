#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include <locale.h>
#include <stdlib.h>

#include "common/number_notation.h"

namespace {

// Label indexes and values take a faster path for plain decimals; whatever
// the text, the result must be the C library's, bit for bit.
TEST(NumberNotation, LabelNumbersReadAsTheCLibrary)
{
    const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const auto same = [&](const std::string& text) {
        const double expected = strtod_l(text.c_str(), nullptr, c);
        const double read = readLeadingReal(text.c_str());
        return std::memcmp(&expected, &read, sizeof read) == 0
               && readUnsignedNotation(text.c_str()) == strtoul_l(text.c_str(), nullptr, 0, c);
    };
    for (const char* text : {"12.5", "-40.00", "0", "-0", "0.00", "010", ".5", "-.5", "7.", "1e3", "1E-3", "1e", "2.5x",
             "1.5.3", " 1", "+1", "--1", "0x1A", "-0X1p3", "inf", "-nan", ".", "-", "", "1e400", "4.9e-324",
             "999999999999999.5", "9007199254740993", "0.1000000000000000055511151231257827",
             "18446744073709551615", "18446744073709551616", "99999999999999999999", "1234567890123456789x"})
        EXPECT_TRUE(same(text)) << text;
    EXPECT_EQ(readLeadingReal(nullptr), 0.0);
    EXPECT_EQ(readUnsignedNotation(nullptr), 0u);
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<int> length(1, 22), digit(0, 9), kind(0, 3), exponent(-330, 330);
    for (int i = 0; i < 20000; ++i) {
        std::string text = kind(rng) == 0 ? "-" : "";
        const int n = length(rng), point = kind(rng) == 0 ? n : length(rng);
        for (int d = 0; d < n; ++d)
            text += (d == point ? "." : "") + std::to_string(digit(rng));
        if (kind(rng) == 0)
            text += "e" + std::to_string(exponent(rng));
        ASSERT_TRUE(same(text)) << text;
    }
}

} // namespace
