#include "common/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// The text without surrounding white space and without a leading "+"
// (from_chars knows only "-"); empty when nothing that could be a number is left.
std::string_view numberPart(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-'))
            return {};
    }
    return text;
}

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};

// The common case of a grid cell: few places and a value well inside the
// exact integer range. When value x 10^places lies clearly away from a
// rounding tie, the nearest whole number is the correctly rounded result
// that printf would print (as `whole`, the digits without their point),
// and printing it takes a fraction of the general conversion's time. False
// otherwise.
bool quickDigits(double value, int places, double& whole)
{
    if (places >= int(std::size(kPowersOfTen)))
        return false;
    const double scaled = std::fabs(value) * kPowersOfTen[places];
    if (!(scaled < 1e15))
        return false;
    whole = std::nearbyint(scaled);
    // Below 2^50 the product is off by at most 1/16, so a distance of up to
    // 0.375 from a whole number cannot hide a tie on the other side.
    return std::fabs(scaled - whole) <= 0.375;
}

// False, nothing appended, where the general conversion must print it.
bool appendFixedQuickly(std::string& text, double value, int places)
{
    double whole = 0;
    if (!quickDigits(value, places, whole))
        return false;
    char digits[32];
    const auto result = std::to_chars(digits, digits + sizeof digits, static_cast<std::uint64_t>(whole));
    const int length = static_cast<int>(result.ptr - digits);
    if (std::signbit(value))
        text += '-';
    if (length <= places) {
        text += "0.";
        text.append(static_cast<std::size_t>(places - length), '0');
        text.append(digits, result.ptr);
    } else {
        text.append(digits, digits + (length - places));
        if (places > 0) {
            text += '.';
            text.append(digits + (length - places), result.ptr);
        }
    }
    return true;
}

} // namespace

bool numberFromText(std::string_view text, double& value)
{
    text = numberPart(text);
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    double parsed = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data(), end, parsed, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

bool integerFromText(std::string_view text, std::int64_t& value)
{
    text = numberPart(text);
    if (text.empty())
        return false;
    const char* end = text.data() + text.size();
    std::int64_t parsed = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), end, parsed, 10);
    if (ec != std::errc() || ptr != end)
        return false;
    value = parsed;
    return true;
}

void appendFixed(std::string& text, double value, int places)
{
    if (std::isnan(value)) {
        text += "nan";
        return;
    }
    if (std::isinf(value)) {
        text += value < 0 ? "-inf" : "inf";
        return;
    }
    if (places < 0)
        places = 0;
    if (appendFixedQuickly(text, value, places))
        return;
    // Sign, up to 309 integer digits, the point and the decimals: on the
    // stack for the usual places, since grids format millions of cells.
    char small[400];
    if (places <= 64) {
        const auto result = std::to_chars(small, small + sizeof small, value, std::chars_format::fixed, places);
        text.append(small, result.ptr);
        return;
    }
    const std::size_t start = text.size();
    text.resize(start + 320 + static_cast<std::size_t>(places));
    const auto result =
        std::to_chars(text.data() + start, text.data() + text.size(), value, std::chars_format::fixed, places);
    text.resize(static_cast<std::size_t>(result.ptr - text.data()));
}

double fixedTextValue(double value, int places)
{
    double whole = 0;
    // The digits over a power of ten: both exact, so the division gives the
    // double nearest to the text, as reading it would.
    if (quickDigits(value, std::max(places, 0), whole))
        return std::copysign(whole / kPowersOfTen[std::max(places, 0)], value);
    double read = 0;
    return numberFromText(formatFixed(value, places), read) ? read : value;
}

std::string formatFixed(double value, int places)
{
    std::string text;
    appendFixed(text, value, places);
    return text;
}

void appendInteger(std::string& text, std::int64_t value)
{
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    text.append(buffer, result.ptr);
}

std::int32_t truncateToInt32(double value)
{
    // Both bounds are exact in double; anything outside them (or NaN) has no 32-bit value.
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(value);
}
