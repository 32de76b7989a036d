#include "common/number_text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace {

locale_t cLocale()
{
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

} // namespace

std::string formatFixed(double value, int places)
{
    places = std::clamp(places, 0, kMaxShownDecimals);
    // Room for the largest double (309 digits), sign, point and the places.
    char text[400];
    // to_chars with a precision prints exactly as printf does under "C".
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, places);
    return std::string(text, result.ptr);
}

std::string formatWhole(double value)
{
    return formatFixed(std::trunc(value) + 0.0, 0);
}

bool parseReal(std::string_view text, double& value)
{
    const std::string copy(text);   // strtod needs the terminating NUL
    const char* start = copy.c_str();
    char* end = nullptr;
    errno = 0;
    const double parsed = strtod_l(start, &end, cLocale());
    if (end == start || end != start + copy.size() || errno == ERANGE)
        return false;
    value = parsed;
    return true;
}
