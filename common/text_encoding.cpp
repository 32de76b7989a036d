#include "common/text_encoding.h"

#include <cstdint>
#include <cstring>

namespace {

// Length of the well-formed UTF-8 sequence at s[i] (1 to 4), or 0 when none
// starts there.
std::size_t sequenceLength(const unsigned char* s, std::size_t i, std::size_t size)
{
    const unsigned char c = s[i];
    if (c < 0x80)
        return 1;
    std::size_t extra;
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
        return 0;
    }
    if (size - i <= extra)
        return 0;
    if (s[i + 1] < lo || s[i + 1] > hi)
        return 0;
    for (std::size_t k = 2; k <= extra; ++k)
        if ((s[i + k] & 0xC0) != 0x80)
            return 0;
    return extra + 1;
}

// Plain ASCII runs, eight bytes at a time: the index of the first byte at or
// after `i` that may not be plain ASCII (at most `size`).
std::size_t skipAscii(const unsigned char* s, std::size_t i, std::size_t size)
{
    std::uint64_t word;
    while (size - i >= 8 && (std::memcpy(&word, s + i, 8), (word & 0x8080808080808080u) == 0))
        i += 8;
    while (i < size && s[i] < 0x80)
        ++i;
    return i;
}

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

constexpr char kReplacement[] = "\xEF\xBF\xBD";   // U+FFFD

// Whether XML 1.0 can carry the well-formed sequence of `length` bytes at `p`.
bool xmlCharacter(const unsigned char* p, std::size_t length)
{
    if (length == 1)
        return p[0] >= 0x20 || p[0] == '\t' || p[0] == '\n' || p[0] == '\r';
    // U+FFFE and U+FFFF; surrogates are not well-formed UTF-8.
    return !(length == 3 && p[0] == 0xEF && p[1] == 0xBF && p[2] >= 0xBE);
}

template <bool Xml>
std::string replaced(std::string_view text)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::string out;
    out.reserve(size);
    std::size_t i = 0;
    while (i < size) {
        std::size_t from = i;
        if constexpr (!Xml)
            i = skipAscii(s, i, size);
        std::size_t n = 0;
        while (i < size) {
            n = sequenceLength(s, i, size);
            if (n == 0 || (Xml && !xmlCharacter(s + i, n)))
                break;
            i += n;
            if constexpr (!Xml)
                i = skipAscii(s, i, size);
        }
        out.append(text.data() + from, i - from);
        if (i < size) {
            out += kReplacement;
            i += n == 0 ? 1 : n;   // a stray byte, or a whole character XML cannot carry
        }
    }
    return out;
}

} // namespace

bool isValidUtf8(const char* data, std::size_t size)
{
    const auto* s = reinterpret_cast<const unsigned char*>(data);
    for (std::size_t i = skipAscii(s, 0, size); i < size; i = skipAscii(s, i, size)) {
        const std::size_t n = sequenceLength(s, i, size);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

void legacyTextToUtf8(std::string& text)
{
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    // A UTF-8 file that a legacy editor gave a few bytes of its own holds
    // more UTF-8 characters than stray bytes: only the strays are legacy.
    // Otherwise the whole text is. Two-byte forms count as UTF-8 only where
    // European text has them (Latin, Greek, Cyrillic): a legacy capital or
    // "ß" before a quote or a degree sign ("ß“") looks like one elsewhere.
    std::size_t characters = 0, strays = 0;
    for (std::size_t i = skipAscii(s, 0, size); i < size; i = skipAscii(s, i, size)) {
        const std::size_t n = sequenceLength(s, i, size);
        if (n == 0)
            ++strays;
        else if (n > 2 || s[i] <= 0xC5 || (s[i] >= 0xCE && s[i] <= 0xD1))
            ++characters;
        i += n == 0 ? 1 : n;
    }
    if (strays == 0)
        return;
    const bool onlyStrays = characters > strays;
    std::string out;
    out.reserve(size + size / 4);
    for (std::size_t i = 0; i < size;) {
        const std::size_t run = skipAscii(s, i, size);
        out.append(text, i, run - i);
        if (run == size)
            break;
        const std::size_t n = onlyStrays ? sequenceLength(s, run, size) : 0;
        if (n > 0) {
            out.append(text, run, n);
            i = run + n;
            continue;
        }
        const unsigned char c = s[run];
        // The rest of the code page equals Latin-1.
        appendUtf8(out, c <= 0x9F ? kCp1252High[c - 0x80] : c);
        i = run + 1;
    }
    text.swap(out);
}

std::string validUtf8(std::string_view text)
{
    return replaced<false>(text);
}

std::string xml10Text(std::string_view text)
{
    return replaced<true>(text);
}
