#include "common/linear_equation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

constexpr double kNo = NAN;   // not linear

TEST(LinearEquation, ReadsLinearExpressionsAndRefusesTheRest)
{
    struct Row { std::string text; double a, b; const char* variable = "X"; };
    std::string deep = "X";
    for (std::size_t i = 0; i < kEquationMaxDepth; ++i)
        deep = "(" + deep + ")";
    const Row rows[] = {
        // Forms seen in real files.
        {"X", 1, 0},
        {"x", 1, 0},
        {"X*0.01", 0.01, 0},
        {"x/4", 0.25, 0},
        {"x-48", 1, -48},
        {"((x-40)*9)/5+32", 9.0 / 5, -40 * 9.0 / 5 + 32},
        {"X*0.75-48", 0.75, -48},
        {"X*100/255", 100.0 / 255, 0},
        {"X*.0032", 0.0032, 0},
        {"X + -48", 1, -48},
        {"X\r\n*\t0.5\n", 0.5, 0},
        {"x/2^14", 1.0 / 16384, 0},
        {"X00*0.1", 0.1, 0, "X00"},
        {"0.1*x00", 0.1, 0, "X00"},
        {"X/3", 1.0 / 3, 0},
        {"-X", -1, 0},
        {"-(X-10)*2", -2, 20},
        {"(X*1e-3)+1.5E2", 1e-3, 150},
        {"2^3^2*X", 512, 0},   // right associative
        {"-2^2*X", -4, 0},     // a sign binds looser than a power
        {"X*2^-1", 0.5, 0},
        {"10-+-X", 1, 10},
        {"X*0*X + X", 1, 0},   // a zero term times the variable is no square
        {"5.*X", 5, 0},
        {"X/(X-X+2)", 0.5, 0},   // the variable cancelled out of a denominator
        {deep.substr(1, deep.size() - 2), 1, 0},   // just within the depth
        // Not linear, or no expression at all.
        {"", kNo, kNo},
        {"   ", kNo, kNo},
        {"5", kNo, kNo},          // no variable: no scale
        {"X*0", kNo, kNo},
        {"X-X", kNo, kNo},
        {"1/X", kNo, kNo},
        {"X/0", kNo, kNo},
        {"X/(2-2)", kNo, kNo},
        {"X*X", kNo, kNo},
        {"X^2", kNo, kNo},
        {"2^X", kNo, kNo},
        {"exp(X)", kNo, kNo},
        {"X(2)", kNo, kNo},
        {"(X-A)*0.75", kNo, kNo},  // a second variable
        {"Y", kNo, kNo},
        {"X*", kNo, kNo},
        {"(X", kNo, kNo},
        {"X)", kNo, kNo},
        {"2X", kNo, kNo},
        {"X % 2", kNo, kNo},
        {"1.2.3*X", kNo, kNo},
        {".*X", kNo, kNo},
        {"X*1e400", kNo, kNo},
        {"X*10^400", kNo, kNo},
        {"X*1e-300+1e300", kNo, kNo},   // offset b / a beyond a double
        {"X*inf", kNo, kNo},
        {"X*nan", kNo, kNo},
        {"0x10*X", kNo, kNo},
        {"X\xE2\x88\x92" "1", kNo, kNo},   // a typographic minus
        {deep, kNo, kNo},                  // one level too deep
        {std::string(100000, '(') + "X", kNo, kNo},
        {std::string(100000, '-') + "X", -1 + 2 * (100000 % 2 == 0), 0},   // a chain of signs is no nesting
        {"X" + std::string(50000, '^') , kNo, kNo},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text.substr(0, 80));
        const auto e = linearEquation(row.text, row.variable);
        if (std::isnan(row.a)) {
            EXPECT_FALSE(e.has_value());
            continue;
        }
        ASSERT_TRUE(e.has_value());
        EXPECT_DOUBLE_EQ(e->a, row.a);
        EXPECT_NEAR(e->b, row.b, 1e-12);
    }
    std::string powers = "2";
    for (int i = 0; i < 1000; ++i)
        powers += "^1";
    EXPECT_FALSE(linearEquation(powers + "*X", "X"));
}

} // namespace
