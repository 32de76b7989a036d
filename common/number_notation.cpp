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
    return strtod_l(orEmpty(text), nullptr, cLocale());
}
