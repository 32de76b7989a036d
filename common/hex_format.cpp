#include "common/hex_format.h"

std::string formatHex(std::uint32_t value)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    char text[8];
    int n = 0;
    do {
        text[n++] = kDigits[value & 0xF];
        value >>= 4;
    } while (value != 0);
    std::string result;
    result.reserve(static_cast<std::size_t>(n));
    while (n > 0)
        result.push_back(text[--n]);
    return result;
}
