#include "common/xml_guard.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// The scan follows the XML library (TinyXML 2.6) token by token: where the
// library goes on, the scan must be at the same byte, or it could miss levels
// that the library then builds; and where the library stops with an error,
// so does the scan, because a text read in one encoding may derail in another
// that its loader never uses.

namespace {

using Byte = unsigned char;
constexpr const Byte* kStop = nullptr;   // the library stops here (end of text or an error)

// The scan reads a byte only after one that is not NUL, or up to three past a
// UTF-8 lead byte; with this many NULs after the text every read stays inside
// it, and no byte needs a bounds check.
constexpr std::size_t kPadding = 4;

// Bytes a UTF-8 lead byte stands for, as the library counts them.
int utf8Length(Byte b)
{
    if (b >= 0xC2 && b <= 0xDF)
        return 2;
    if (b >= 0xE0 && b <= 0xEF)
        return 3;
    if (b >= 0xF0 && b <= 0xF4)
        return 4;
    return 1;
}

// The library's character tests, from the C library under the current
// locale, looked up once per document.
struct CharClasses {
    CharClasses()
    {
        for (int c = 0; c < 256; ++c) {
            const auto b = static_cast<Byte>(c);
            space[c] = c != 0 && (std::isspace(b) || c == '\n' || c == '\r');
            // Read as UTF-8, 0xEF may start a byte order mark, which is looked at first.
            spaceUtf8[c] = space[c] && c != 0xEF;
            nameStart[c] = (c < 127 ? std::isalpha(b) != 0 : true) || c == '_';
            name[c] = (c < 127 ? std::isalnum(b) != 0 : true) || c == '_' || c == '-' || c == '.' || c == ':';
            // Bytes read one at a time are lowered as signed chars (glibc takes -128 to 255).
            lowered[c] = std::tolower(static_cast<signed char>(b));
            letterEnd[c] = c == 0 || c == '&' || c == '<' || c == '"' || c == '\'';
            utf8Step[c] = static_cast<unsigned char>(utf8Length(b));
        }
    }
    bool space[256];
    bool spaceUtf8[256];
    bool nameStart[256];
    bool name[256];
    int lowered[256];
    bool letterEnd[256];   // what may end a text or quoted value: NUL, '&', '<' and quotes
    unsigned char utf8Step[256];
};

constexpr std::string_view kNamedEntities[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"};

// What a scan has counted, carried over when the reading changes.
struct Tally {
    std::size_t limit = 0;   // the work allowed, in 32nds of a node
    std::size_t work = 0;    // in 32nds of a node
    bool refused = false;
};

// Reads a text that ends in kPadding NULs, byte by byte (a legacy encoding)
// or as UTF-8.
template <bool Utf8>
class Scan {
public:
    Scan(const CharClasses& classes, Tally tally) : m_classes(classes), m_tally(tally) {}

    const Tally& tally() const { return m_tally; }

    // Follows the library from `p` at the top level to where it stops, or,
    // with `toDeclaration`, only up to the end of the first top-level
    // declaration, which it returns (kStop where the library stops there).
    const Byte* run(const Byte* p, bool toDeclaration, bool& declared)
    {
        declared = false;
        std::size_t depth = 0;
        while (p != kStop && !m_tally.refused) {
            p = skipSpace(p);
            if (*p == 0)
                break;
            if (depth == 0) {
                // Between top-level nodes the library stops, without an error, at anything but '<'.
                if (*p != '<')
                    break;
                const bool declaration = isDeclaration(p);
                p = node(p, depth);
                if (declaration && toDeclaration) {
                    declared = true;
                    return p;
                }
            } else if (*p != '<') {
                p = text(p, depth);
            } else if (p[1] == '/') {
                p = endTag(p, m_open[depth - 1]);
                --depth;
            } else {
                p = node(p, depth);
            }
        }
        return kStop;
    }

private:
    bool isSpace(Byte c) const { return m_classes.space[c]; }
    bool isNameStart(Byte c) const { return m_classes.nameStart[c]; }
    bool isNameChar(Byte c) const { return m_classes.name[c]; }

    // Read as UTF-8, the library lowers only ASCII.
    int lower(Byte c) const { return Utf8 && c >= 0x80 ? static_cast<signed char>(c) : m_classes.lowered[c]; }

    // `tag` is plain ASCII, lower-case where `ignoreCase` is set.
    bool startsWith(const Byte* p, const char* tag, bool ignoreCase = false) const
    {
        for (; *tag; ++tag, ++p) {
            const Byte c = *p;
            if (c == 0)
                return false;
            if (ignoreCase ? lower(c) != *tag : c != static_cast<Byte>(*tag))
                return false;
        }
        return true;
    }

    bool isDeclaration(const Byte* p) const { return startsWith(p, "<?xml", true); }

    // Adds the work of a node inside `depth` elements (for an attribute, four
    // for each before it on its element); false once the document asks for
    // too much. In 32nds of a node.
    bool charge(std::size_t depth)
    {
        m_tally.work += 32 + depth;
        if (m_tally.work > m_tally.limit)
            m_tally.refused = true;
        return !m_tally.refused;
    }

    const Byte* skipSpace(const Byte* p) const
    {
        if constexpr (!Utf8) {
            while (isSpace(*p))
                ++p;
            return p;
        }
        for (;;) {
            while (m_classes.spaceUtf8[*p])
                ++p;
            if (*p != 0xEF)
                return p;
            if ((p[1] == 0xBB && p[2] == 0xBF) || (p[1] == 0xBF && (p[2] == 0xBE || p[2] == 0xBF)))
                p += 3;   // byte order marks count as blanks
            else if (isSpace(*p))
                ++p;
            else
                return p;
        }
    }

    const Byte* find(const Byte* p, const char* tag) const
    {
        for (;; ++p) {
            const Byte c = *p;
            if (c == 0)
                return kStop;
            if (c == static_cast<Byte>(tag[0]) && startsWith(p, tag))
                return p;
        }
    }

    // An '&': a character reference moves to its ';' (the library checks
    // only the digits back to the nearest 'x' or '#'), a named one past its
    // name, anything else one byte.
    const Byte* entity(const Byte* p) const
    {
        if (p[1] == '#' && p[2] != 0) {
            const bool hex = p[2] == 'x';
            const Byte* from = hex ? p + 3 : p + 2;
            if (hex && *from == 0)
                return kStop;
            const Byte* end = from;
            while (*end != 0 && *end != ';')
                ++end;
            if (*end == 0)
                return kStop;
            for (const Byte* q = end - 1; *q != (hex ? 'x' : '#'); --q) {
                const Byte d = *q;
                const bool digit = (d >= '0' && d <= '9')
                                   || (hex && ((d >= 'a' && d <= 'f') || (d >= 'A' && d <= 'F')));
                if (!digit)
                    return kStop;
            }
            return end + 1;
        }
        for (const std::string_view named : kNamedEntities) {
            if (startsWith(p, named.data()))
                return p + named.size();
        }
        return p + 1;
    }

    // Reads the letters of a text or quoted value up to and past `end`;
    // kStop when nothing follows it. Read as UTF-8, a multi-byte letter is
    // stepped over whole, even across a NUL, as the library does.
    const Byte* readTo(const Byte* p, Byte end) const
    {
        for (;;) {
            if constexpr (Utf8) {
                while (!m_classes.letterEnd[*p])
                    p += m_classes.utf8Step[*p];
            } else {
                while (!m_classes.letterEnd[*p])
                    ++p;
            }
            const Byte c = *p;
            if (c == end)
                break;
            if (c == 0)
                return kStop;
            if (c == '&') {
                p = entity(p);
                if (p == kStop)
                    return kStop;
            } else {
                ++p;   // a quote or '<' that does not end this one
            }
        }
        ++p;
        return *p == 0 ? kStop : p;
    }

    const Byte* text(const Byte* p, std::size_t depth)
    {
        if (!charge(depth))
            return kStop;
        p = readTo(p, '<');
        return p == kStop ? kStop : p - 1;   // at the '<'
    }

    struct Name {
        const Byte* at = nullptr;
        std::size_t size = 0;
    };

    static bool sameName(const Name& a, const Name& b)
    {
        return a.size == b.size && a.at[0] == b.at[0] && std::memcmp(a.at, b.at, a.size) == 0;
    }

    // Past the name; at a NUL the callers stop, as the library does.
    const Byte* name(const Byte* p) const
    {
        if (!isNameStart(*p))
            return kStop;
        while (isNameChar(*p))
            ++p;
        return p;
    }

    // name = value, the value quoted or bare; `p` is past any blanks before
    // the name. `named` receives the name.
    const Byte* attribute(const Byte* p, Name& named) const
    {
        named.at = p;
        p = name(p);
        if (p == kStop)
            return kStop;
        named.size = static_cast<std::size_t>(p - named.at);
        p = skipSpace(p);
        if (*p != '=')
            return kStop;
        p = skipSpace(p + 1);
        const Byte quote = *p;
        if (quote == 0)
            return kStop;
        if (quote == '"' || quote == '\'')
            return readTo(p + 1, quote);
        for (; *p != 0 && !isSpace(*p) && *p != '/' && *p != '>'; ++p) {
            if (*p == '"' || *p == '\'')
                return kStop;
        }
        return p;
    }

    // A start tag; `depth` grows when the element has content.
    const Byte* startTag(const Byte* p, std::size_t& depth)
    {
        if (depth + 1 > kXmlMaxDepth) {
            m_tally.refused = true;
            return kStop;
        }
        Name& element = m_open[depth];
        element.at = skipSpace(p + 1);
        p = name(element.at);
        if (p == kStop)
            return kStop;
        element.size = static_cast<std::size_t>(p - element.at);
        std::size_t attributes = 0;
        while (p != kStop) {
            p = skipSpace(p);
            const Byte c = *p;
            if (c == 0)
                return kStop;
            if (c == '/')
                return p[1] == '>' ? p + 2 : kStop;
            if (c == '>') {
                ++depth;
                return p + 1;
            }
            Name added;
            p = attribute(p, added);
            if (p == kStop || *p == 0)
                return kStop;
            // The library refuses an attribute given twice.
            for (std::size_t i = 0; i < attributes; ++i) {
                if (sameName(m_attributes[i], added))
                    return kStop;
            }
            if (attributes == kXmlMaxAttributes) {
                m_tally.refused = true;
                return kStop;
            }
            // The library compares each new attribute's name with every
            // earlier one: the later on the element, the dearer.
            if (!charge(4 * attributes))
                return kStop;
            m_attributes[attributes++] = added;
        }
        return kStop;
    }

    // "</" and the open element's name, then blanks and '>'.
    const Byte* endTag(const Byte* p, const Name& open) const
    {
        p += 2;
        for (std::size_t i = 0; i < open.size; ++i, ++p) {
            if (*p != open.at[i])   // a name holds no NUL
                return kStop;
        }
        p = skipSpace(p);
        return *p == '>' ? p + 1 : kStop;
    }

    // "<?xml": only version, encoding and standalone are read as attributes.
    const Byte* declaration(const Byte* p)
    {
        p += 5;
        while (*p != 0) {
            if (*p == '>')
                return p + 1;
            p = skipSpace(p);
            if (*p == 0)
                return kStop;
            if (startsWith(p, "version", true) || startsWith(p, "encoding", true)
                || startsWith(p, "standalone", true)) {
                Name ignored;
                p = attribute(p, ignored);
                if (p == kStop)
                    return kStop;
            } else {
                while (*p != 0 && *p != '>' && !isSpace(*p))
                    ++p;
            }
        }
        return kStop;
    }

    // A node that starts at '<' (anything but an end tag inside an element).
    const Byte* node(const Byte* p, std::size_t& depth)
    {
        if (!charge(depth))
            return kStop;
        // Most nodes are elements, for which none of the tests below holds.
        if (p[1] != '!' && lower(p[1]) != '?' && isNameStart(p[1]))
            return startTag(p, depth);
        if (isDeclaration(p)) {
            // Unpatched, the library asserts where a declaration's blanks run
            // into the end; any declaration it cannot read through is refused.
            p = declaration(p);
            if (p == kStop)
                m_tally.refused = true;
            return p;
        }
        if (startsWith(p, "<!--")) {
            p = find(p + 4, "-->");
            return p == kStop ? kStop : p + 3;
        }
        if (startsWith(p, "<![CDATA[")) {
            p = find(p + 9, "]]>");
            return p == kStop || p[3] == 0 ? kStop : p + 3;
        }
        if (isNameStart(p[1]))
            return startTag(p, depth);
        // "<!DOCTYPE", other "<!" and "<?" nodes, and a stray "</" at the top
        // level: the library ends them at the first '>', quotes or not.
        while (*p != 0 && *p != '>')
            ++p;
        return *p == '>' ? p + 1 : kStop;
    }

    const CharClasses& m_classes;
    Tally m_tally;
    std::array<Name, kXmlMaxDepth> m_open{};             // names of the open elements
    std::array<Name, kXmlMaxAttributes> m_attributes{};  // of the start tag being read
};

// Whether every reading steps over the same letters: true unless a lead byte
// lacks its continuation bytes (with them, all non-ASCII, it moves to the same
// next letter either way), a byte order mark stands in the text, or the
// locale lowers a high byte into ASCII.
bool readsAlike(const Byte* data, std::size_t size, const CharClasses& classes)
{
    for (int c = 0x80; c < 256; ++c) {
        if (classes.lowered[c] >= 0 && classes.lowered[c] < 0x80)
            return false;
    }
    constexpr std::size_t kBlock = 32;
    for (std::size_t i = 0; i < size;) {
        // Plain ASCII blocks at a time.
        if (size - i >= kBlock) {
            std::uint64_t words[kBlock / 8];
            std::memcpy(words, data + i, kBlock);
            if (((words[0] | words[1] | words[2] | words[3]) & 0x8080808080808080u) == 0) {
                i += kBlock;
                continue;
            }
        }
        for (const std::size_t blockEnd = std::min(size, i + kBlock); i < blockEnd;) {
            const Byte c = data[i];
            const std::size_t n = classes.utf8Step[c];
            if (n == 1) {
                ++i;   // ASCII or not a lead byte: one byte in every reading
                continue;
            }
            if (c == 0xEF && i + 2 < size && data[i + 1] == 0xBB && data[i + 2] == 0xBF)
                return false;
            if (c == 0xEF && i + 2 < size && data[i + 1] == 0xBF && data[i + 2] >= 0xBE)
                return false;
            for (std::size_t k = 1; k < n; ++k) {
                if (i + k >= size || (data[i + k] & 0xC0) != 0x80)
                    return false;
            }
            i += n;
        }
    }
    return true;
}

// The library steps over letters byte by byte (a legacy encoding), as UTF-8,
// or, left to find out itself, byte by byte until the first top-level
// declaration and as UTF-8 after it (its encoding may say otherwise, but then
// the rest reads byte by byte, which the first way covers). `padded` is the
// caller's `size` bytes followed by NULs, the last kPadding of them at least.
bool scanWithinLimits(const Byte* padded, std::size_t size)
{
    const CharClasses classes;
    // What follows a NUL is never parsed, so it earns no work.
    const void* nul = std::memchr(padded, 0, size);
    const std::size_t parsed = nul ? static_cast<std::size_t>(static_cast<const Byte*>(nul) - padded) : size;
    const Tally start{32 * xmlWorkLimit(parsed)};
    bool declared = false;
    Scan<false> bytes(classes, start);
    bytes.run(padded, false, declared);
    if (bytes.tally().refused)
        return false;
    if (readsAlike(padded, size, classes))
        return true;
    Scan<true> utf8(classes, start);
    utf8.run(padded, false, declared);
    if (utf8.tally().refused)
        return false;
    Scan<false> detecting(classes, start);
    const Byte* p = detecting.run(padded, true, declared);
    if (!declared || p == kStop || detecting.tally().refused)
        return !detecting.tally().refused;
    Scan<true> detected(classes, detecting.tally());
    detected.run(p, false, declared);
    return !detected.tally().refused;
}

} // namespace

bool xmlWithinLimits(const char* data, std::size_t size)
{
    if (data == nullptr)
        return size == 0;
    const auto* bytes = reinterpret_cast<const Byte*>(data);
    // Past the end the text reads as NULs, so NULs already there serve as the
    // padding; a text without them is read from a padded copy.
    bool padded = size >= kPadding;
    for (std::size_t i = 1; padded && i <= kPadding; ++i)
        padded = bytes[size - i] == 0;
    if (padded)
        return scanWithinLimits(bytes, size);
    std::string copy;
    copy.reserve(size + kPadding);
    copy.append(data, size).append(kPadding, '\0');
    return scanWithinLimits(reinterpret_cast<const Byte*>(copy.data()), size);
}
