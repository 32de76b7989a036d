#include "common/number_notation.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include <locale.h>
#include <stdlib.h>

#include "common/number_text.h"

namespace {

locale_t cLocale()
{
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

const char* orEmpty(const char* text) { return text ? text : ""; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

} // namespace

std::uint32_t readHexNotation(const char* text)
{
    char head[11] = {};
    std::strncpy(head, orEmpty(text), 10);
    return static_cast<std::uint32_t>(strtoul_l(head, nullptr, 0, cLocale()));
}

std::uint16_t readIntNotation(const char* text)
{
    return static_cast<std::uint16_t>(strtol_l(orEmpty(text), nullptr, 10, cLocale()));
}

double readRealNotation(const char* text, double fallback)
{
    text = orEmpty(text);
    char* end = nullptr;
    const double value = strtod_l(text, &end, cLocale());
    return (end == text || *end != '\0') ? fallback : value;
}

// Files hold hundreds of thousands of label indexes and values, nearly all
// plain decimals such as "12" and "-40.00". Those are read directly below;
// anything else is left to the C library, which gives the same results.

unsigned long readUnsignedNotation(const char* text)
{
    text = orEmpty(text);
    // Up to 19 digits, far from overflowing; a leading 0 would mean octal or hex.
    if (*text >= '1' && *text <= '9') {
        unsigned long value = 0;
        const char* p = text;
        for (int n = 0; n < 19 && isDigit(*p); ++n, ++p)
            value = value * 10 + static_cast<unsigned long>(*p - '0');
        if (!isDigit(*p))
            return value;
    }
    return strtoul_l(text, nullptr, 0, cLocale());
}

double readLeadingReal(const char* text)
{
    text = orEmpty(text);
    // At most 15 digits: as a whole number, and with the power of ten for
    // those after the point, both are exact doubles, so their quotient is the
    // correctly rounded value, as strtod gives it. A sign other than '-',
    // blanks, an exponent, hex, inf and nan go to strtod.
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = text + (*text == '-');
    std::uint64_t whole = 0;
    int digits = 0;
    int decimals = -1;   // none before the point is read
    for (; digits <= 15; ++p) {
        if (isDigit(*p)) {
            whole = whole * 10 + static_cast<std::uint64_t>(*p - '0');
            ++digits;
            if (decimals >= 0)
                ++decimals;
        } else if (*p == '.' && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    const bool plain = digits > 0 && digits <= 15 && *p != 'e' && *p != 'E' && *p != 'x' && *p != 'X';
    if (!plain)
        return strtod_l(text, nullptr, cLocale());
    const double value = static_cast<double>(whole) / kPowersOfTen[decimals > 0 ? decimals : 0];
    return *text == '-' ? -value : value;
}

namespace {

// Whether "%f" of a finite value reads back to it. Below 10^9 the value
// times 10^6 stays under 2^50: when it lies near a whole number w, "%f"
// prints w's digits and reads back as w / 10^6 correctly rounded, which the
// division gives; when it does not, "%f" cannot read back to it, as a
// millionth is more than an ulp there. Larger values are printed and read
// back by the C library.
bool sixDecimalsReadBack(double value)
{
    const double magnitude = std::fabs(value);
    if (magnitude < 1e9) {
        const double scaled = magnitude * 1e6;
        const double whole = std::nearbyint(scaled);
        return std::fabs(scaled - whole) <= 0.375 && whole / 1e6 == magnitude;
    }
    return strtod_l(formatFixed(value, 6).c_str(), nullptr, cLocale()) == value;
}

} // namespace

std::string realNotationText(double value)
{
    char buffer[32];   // the shortest form of any double is at most 24 characters
    std::to_chars_result result;
    if (!std::isfinite(value))
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);   // "-nan" too
    else if (sixDecimalsReadBack(value))
        return formatFixed(value, 6);
    else
        result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}
