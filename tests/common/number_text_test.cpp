#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>

#include "common/number_text.h"

namespace {

TEST(NumberText, WhatCountsAsANumber)
{
    const std::pair<const char*, double> numbers[] = {
        {"12.5", 12.5}, {" -3 ", -3}, {"+1e3", 1000}, {".5", 0.5}, {"7.", 7}, {"\t2\n", 2}, {"", NAN}, {"  ", NAN},
        {"1,5", NAN}, {"1x", NAN}, {"0x10", NAN}, {"inf", NAN}, {"nan", NAN}, {"1e999", NAN}, {"+-1", NAN}, {"1 2", NAN}};
    for (const auto& [text, expected] : numbers) {
        double value = NAN;
        EXPECT_EQ(numberFromText(text, value), !std::isnan(expected)) << text;
        EXPECT_TRUE(value == expected || std::isnan(expected)) << text;
    }
    const std::pair<const char*, std::int64_t> integers[] = {
        {"42", 42}, {" -7", -7}, {"+0", 0}, {"1.0", -1}, {"1e2", -1}, {"a", -1}, {"", -1}, {"99999999999999999999", -1}};
    for (const auto& [text, expected] : integers) {
        std::int64_t value = -1;
        EXPECT_EQ(integerFromText(text, value), expected != -1) << text;
        EXPECT_EQ(value, expected) << text;
    }
    const std::pair<double, std::int32_t> truncations[] = {{2.9, 2}, {-2.9, -2}, {2147483647.9, 2147483647},
        {-2147483648.5, INT32_MIN}, {3e9, INT32_MIN}, {-3e9, INT32_MIN}, {NAN, INT32_MIN}};
    for (const auto& [value, whole] : truncations)
        EXPECT_EQ(truncateToInt32(value), whole) << value;
}

// Fixed notation prints what printf's "%.*f" prints in the C locale, for
// ties, signs and extremes and for random values of every magnitude.
TEST(NumberText, FixedNotationMatchesPrintf)
{
    std::setlocale(LC_NUMERIC, "C");
    const auto printed = [](double value, int places) {
        char buffer[512];
        std::snprintf(buffer, sizeof buffer, "%.*f", places, value);
        return std::string(buffer);
    };
    const std::pair<double, int> picked[] = {{0.125, 2}, {0.375, 2}, {2.5, 0}, {3.5, 0}, {-0.0, 1}, {-0.04, 1},
        {1.005, 2}, {1e15, 1}, {123456789012345.67, 2}, {-2147483647, 2}, {9.995, 2}, {1e300, 3}, {5e-324, 70}};
    // What the text reads back as, known without writing it.
    const auto readBack = [](double value, int places) {
        double read = 0;
        return numberFromText(formatFixed(value, places), read) ? read : value;
    };
    for (const auto& [value, places] : picked) {
        EXPECT_EQ(formatFixed(value, places), printed(value, places)) << value << " " << places;
        EXPECT_EQ(fixedTextValue(value, places), readBack(value, places)) << value << " " << places;
    }
    EXPECT_EQ(formatFixed(-NAN, 2) + formatFixed(-INFINITY, 2), "nan-inf");
    std::mt19937_64 rng(5);
    std::uniform_int_distribution<int> places(0, 12), digits(0, 9999), exponent(-8, 16);
    for (int i = 0; i < 20000; ++i) {
        const int p = places(rng);
        const double value = (i % 2 ? -1 : 1) * digits(rng) * std::pow(10.0, exponent(rng)) / 1000.0;
        ASSERT_EQ(formatFixed(value, p), printed(value, p)) << value << " " << p;
        ASSERT_EQ(fixedTextValue(value, p), readBack(value, p)) << value << " " << p;
    }
}

} // namespace
