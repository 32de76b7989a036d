#include "common/text_encoding.h"

#include <cstdint>
#include <cstring>

bool isValidUtf8(const char* data, std::size_t size)
{
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    std::size_t i = 0;
    while (i < size) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            // Plain ASCII runs, eight bytes at a time.
            std::uint64_t word;
            while (size - i >= 8 && (std::memcpy(&word, s + i, 8), (word & 0x8080808080808080u) == 0))
                i += 8;
            continue;
        }
        int extra;
        unsigned char lo = 0x80, hi = 0xBF;   // allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            if (c == 0xE0)
                lo = 0xA0;   // overlong
            else if (c == 0xED)
                hi = 0x9F;   // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            if (c == 0xF0)
                lo = 0x90;   // overlong
            else if (c == 0xF4)
                hi = 0x8F;   // above U+10FFFF
        } else {
            return false;
        }
        if (size - i <= static_cast<std::size_t>(extra))
            return false;
        if (s[i + 1] < lo || s[i + 1] > hi)
            return false;
        for (int k = 2; k <= extra; ++k)
            if ((s[i + k] & 0xC0) != 0x80)
                return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

namespace {

// Code points of Windows-1252 bytes 0x80..0x9F; the five bytes the code page
// leaves undefined map to the C1 control of the same value, as Windows does.
constexpr std::uint16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, std::uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

std::string fileTextToUtf8(const char* text)
{
    if (!text)
        return {};
    const std::size_t size = std::strlen(text);
    if (isValidUtf8(text, size))
        return std::string(text, size);

    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80 && c <= 0x9F)
            appendUtf8(out, kCp1252High[c - 0x80]);
        else
            appendUtf8(out, c);   // the rest of the code page equals Latin-1
    }
    return out;
}
