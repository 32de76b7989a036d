#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <string>

#include <locale.h>
#include <stdlib.h>

#include "common/number_notation.h"

namespace {

// Label values take a faster path for plain decimals; whatever the text,
// the value must be strtod's, bit for bit.
TEST(NumberNotation, LeadingRealReadsAsStrtod)
{
    const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const auto same = [&](const std::string& text) {
        const double expected = strtod_l(text.c_str(), nullptr, c);
        const double read = readLeadingReal(text.c_str());
        return std::memcmp(&expected, &read, sizeof read) == 0;
    };
    for (const char* text : {"12.5", "-40.00", "0", "-0", "0.00", ".5", "-.5", "7.", "1e3", "1E-3", "1e", "1e+", "2.5x",
             "1.5.3", " 1", "+1", "0x1A", "-0X1p3", "inf", "-nan", ".", "-", "", "1e400", "-1e400", "1e-400",
             "4.9e-324", "2.2250738585072011e-308", "9007199254740993", "0.1000000000000000055511151231257827",
             "179769313486231580793728971405303415079934132710037826936173778980444968292764750946649017977587207096"
             "330286416692887910946555547851940402630657488671505820681908902000708383676273854845817711531764475730"
             "270069855571366959622842914819860834936475292719074168444365510704342711559699508093042880177904174497"
             "7920"})
        EXPECT_TRUE(same(text)) << text;
    EXPECT_EQ(readLeadingReal(nullptr), 0.0);
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<int> length(1, 25), digit(0, 9), kind(0, 3), exponent(-330, 330);
    for (int i = 0; i < 20000; ++i) {
        std::string text = kind(rng) == 0 ? "-" : "";
        const int n = length(rng), point = length(rng);
        for (int d = 0; d < n; ++d)
            text += (d == point ? "." : "") + std::to_string(digit(rng));
        if (kind(rng) == 0)
            text += "e" + std::to_string(exponent(rng));
        ASSERT_TRUE(same(text)) << text;
    }
}

} // namespace
