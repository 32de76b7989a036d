#pragma once
// Scaling equations as other tools' definition files write them: arithmetic
// in one variable ("X*0.01", "x/4", "((x-40)*9)/5+32", "x/2^14"). Only the
// linear ones can become a factor and an offset.
#include <cstddef>
#include <optional>
#include <string_view>

// value = a x variable + b
struct LinearEquation {
    double a = 1.0;
    double b = 0.0;
};

// Parentheses, powers and signs nested deeper than this are not read.
inline constexpr std::size_t kEquationMaxDepth = 64;

// The expression as a x variable + b. Numbers as C writes them ("12",
// ".0032", "1e-3"), + - * / with the usual precedence, ^ (a power, right
// associative, binding tighter than a sign) between constants, parentheses,
// signs after operators ("+ -48"), any white space. Names are matched with
// the variable without regard to case.
//
// Nothing when the expression is not linear in the variable or not an
// expression at all: the variable in a denominator, an exponent or a power's
// base, times itself, a function call, any other name, a division by zero,
// a number or result that is not finite, a = 0 (no variable: no scale), an
// offset b / a that is not finite, deeper nesting than kEquationMaxDepth,
// anything left over. Any text gives an answer.
std::optional<LinearEquation> linearEquation(std::string_view text, std::string_view variable);
