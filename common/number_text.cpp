#include "common/number_text.h"

#include <charconv>
#include <cmath>
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

} // namespace

bool parseNumber(std::string_view text, double& value)
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

bool parseInteger(std::string_view text, std::int64_t& value)
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
    // Sign, up to 309 integer digits, the point and the decimals.
    const std::size_t start = text.size();
    text.resize(start + 320 + static_cast<std::size_t>(places));
    const auto result =
        std::to_chars(text.data() + start, text.data() + text.size(), value, std::chars_format::fixed, places);
    text.resize(static_cast<std::size_t>(result.ptr - text.data()));
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
