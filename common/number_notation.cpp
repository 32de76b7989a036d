#include "common/number_notation.h"

#include <charconv>
#include <cmath>
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

unsigned long readUnsignedNotation(const char* text)
{
    return strtoul_l(orEmpty(text), nullptr, 0, cLocale());
}

double readLeadingReal(const char* text)
{
    text = orEmpty(text);
    // Plain decimals, which is what files hold, are read by from_chars: the
    // same correctly rounded value, several times faster. What strtod reads
    // in other ways (blanks, '+', hex, inf and nan, values beyond the normal
    // range) is left to it.
    const char* digits = text + (*text == '-');
    const bool plain = (*digits >= '0' && *digits <= '9') || *digits == '.';
    if (plain && !(digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))) {
        double value = 0.0;
        const auto [end, ec] = std::from_chars(text, text + std::strlen(text), value, std::chars_format::general);
        if (ec == std::errc() && std::isnormal(value))
            return value;
    }
    return strtod_l(text, nullptr, cLocale());
}
