#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>

#include "common/number_text.h"

namespace {

TEST(NumberText, WhatCountsAsANumber)
{
    const struct {
        const char* text;
        bool number;
        double value;
    } rows[] = {
        {"12.5", true, 12.5},   {" -3 ", true, -3},     {"+1e3", true, 1000}, {".5", true, 0.5},
        {"7.", true, 7},        {"\t2\n", true, 2},     {"", false, 0},       {"  ", false, 0},
        {"1,5", false, 0},      {"1x", false, 0},       {"0x10", false, 0},   {"inf", false, 0},
        {"nan", false, 0},      {"1e999", false, 0},    {"+-1", false, 0},    {"- 1", false, 0},
        {"1 2", false, 0},
    };
    for (const auto& row : rows) {
        double value = -99;
        EXPECT_EQ(parseNumber(row.text, value), row.number) << row.text;
        EXPECT_EQ(value, row.number ? row.value : -99) << row.text;
    }
    const struct {
        const char* text;
        bool number;
        std::int64_t value;
    } integers[] = {
        {"42", true, 42}, {" -7", true, -7}, {"+0", true, 0}, {"1.0", false, 0}, {"1e2", false, 0},
        {"a", false, 0},  {"", false, 0},    {"99999999999999999999", false, 0},
    };
    for (const auto& row : integers) {
        std::int64_t value = -99;
        EXPECT_EQ(parseInteger(row.text, value), row.number) << row.text;
        EXPECT_EQ(value, row.number ? row.value : -99) << row.text;
    }
    const std::pair<double, std::int32_t> truncations[] = {
        {2.9, 2}, {-2.9, -2}, {2147483647.9, 2147483647}, {-2147483648.5, -2147483647 - 1},
        {3e9, -2147483647 - 1}, {-3e9, -2147483647 - 1}, {std::nan(""), -2147483647 - 1},
    };
    for (const auto& [value, whole] : truncations)
        EXPECT_EQ(truncateToInt32(value), whole) << value;
}

// Fixed notation prints what printf's "%.*f" prints in the C locale, for
// hand-picked ties and signs and for random values of every magnitude.
TEST(NumberText, FixedNotationMatchesPrintf)
{
    std::setlocale(LC_NUMERIC, "C");
    const auto printed = [](double value, int places) {
        char buffer[512];
        std::snprintf(buffer, sizeof buffer, "%.*f", places, value);
        return std::string(buffer);
    };
    const std::pair<double, int> picked[] = {
        {0.125, 2}, {0.375, 2}, {2.5, 0}, {3.5, 0}, {-0.0, 1}, {-0.04, 1}, {1.005, 2}, {12.5, 2},
        {1e15, 1},  {123456789012345.67, 2}, {-2147483647, 2}, {0.05, 1}, {9.995, 2}, {1e300, 3}, {5e-324, 4},
    };
    for (const auto& [value, places] : picked)
        EXPECT_EQ(formatFixed(value, places), printed(value, places)) << value << " " << places;
    EXPECT_EQ(formatFixed(std::nan(""), 2), "nan");
    EXPECT_EQ(formatFixed(-std::nan(""), 2), "nan");
    EXPECT_EQ(formatFixed(-1.0 / 0.0, 2), "-inf");

    std::mt19937_64 rng(5);
    std::uniform_int_distribution<int> placesOf(0, 12), digits(0, 9999), exponent(-8, 16);
    for (int i = 0; i < 20000; ++i) {
        const int places = placesOf(rng);
        const double value = (i % 2 ? -1 : 1) * digits(rng) * std::pow(10.0, exponent(rng)) / 1000.0;
        ASSERT_EQ(formatFixed(value, places), printed(value, places)) << value << " " << places;
    }
    std::string text = "x";
    appendInteger(text, -2147483648LL);
    EXPECT_EQ(text, "x-2147483648");
}

} // namespace
