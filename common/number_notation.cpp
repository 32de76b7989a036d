#include "common/number_notation.h"

#include <cstring>

#include <locale.h>
#include <stdlib.h>

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
