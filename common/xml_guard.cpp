#include "common/xml_guard.h"

#include <array>
#include <cctype>
#include <cstdint>

// The scan follows the XML library (TinyXML 2.6) token by token: where the
// library goes on, the scan must be at the same byte, or it could miss levels
// that the library then builds; and where the library stops with an error,
// so does the scan, because a text read in one encoding may derail in another
// that its loader never uses.

namespace {

constexpr std::size_t kStop = SIZE_MAX;   // the library stops here (end of text or an error)

// Bytes a UTF-8 lead byte stands for, as the library counts them.
int utf8Length(unsigned char b)
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
            const auto b = static_cast<unsigned char>(c);
            space[c] = c != 0 && (std::isspace(b) || c == '\n' || c == '\r');
            nameStart[c] = (c < 127 ? std::isalpha(b) != 0 : true) || c == '_';
            name[c] = (c < 127 ? std::isalnum(b) != 0 : true) || c == '_' || c == '-' || c == '.' || c == ':';
            // Bytes read one at a time are lowered as signed chars (glibc takes -128 to 255).
            lowered[c] = std::tolower(static_cast<signed char>(b));
        }
    }
    bool space[256];
    bool nameStart[256];
    bool name[256];
    int lowered[256];
};

// How the library steps over letters: byte by byte (a legacy encoding), as
// UTF-8, or, left to find out itself, byte by byte until the first top-level
// declaration and as UTF-8 after it (its encoding may say otherwise, but then
// the rest reads byte by byte, which the first way covers).
enum class Reading { Bytes, Utf8, BytesThenUtf8 };

class Scan {
public:
    Scan(const char* data, std::size_t size, Reading reading, const CharClasses& classes)
        : m_data(reinterpret_cast<const unsigned char*>(data)), m_size(size), m_classes(classes),
          m_utf8(reading == Reading::Utf8), m_switchToUtf8(reading == Reading::BytesThenUtf8)
    {
    }

    bool withinLimits()
    {
        std::size_t p = 0;
        std::size_t depth = 0;
        while (p != kStop && !m_refused) {
            p = skipSpace(p);
            if (at(p) == 0)
                break;
            if (depth == 0) {
                // Between top-level nodes the library stops, without an error, at anything but '<'.
                if (at(p) != '<')
                    break;
                const bool declaration = isDeclaration(p);
                p = node(p, depth);
                if (declaration && m_switchToUtf8) {
                    m_switchToUtf8 = false;
                    m_utf8 = true;
                }
            } else if (at(p) != '<') {
                p = text(p, depth);
            } else if (at(p + 1) == '/') {
                p = endTag(p, m_open[depth - 1]);
                --depth;
            } else {
                p = node(p, depth);
            }
        }
        return !m_refused;
    }

private:
    unsigned char at(std::size_t i) const { return i < m_size ? m_data[i] : 0; }

    bool isSpace(unsigned char c) const { return m_classes.space[c]; }
    bool isNameStart(unsigned char c) const { return m_classes.nameStart[c]; }
    bool isNameChar(unsigned char c) const { return m_classes.name[c]; }

    // Read as UTF-8, the library lowers only ASCII.
    int lower(unsigned char c) const
    {
        return m_utf8 && c >= 0x80 ? static_cast<signed char>(c) : m_classes.lowered[c];
    }

    // `tag` is plain ASCII, lower-case where `ignoreCase` is set.
    bool startsWith(std::size_t p, const char* tag, bool ignoreCase = false) const
    {
        for (; *tag; ++tag, ++p) {
            const unsigned char c = at(p);
            if (c == 0)
                return false;
            if (ignoreCase ? lower(c) != *tag : c != static_cast<unsigned char>(*tag))
                return false;
        }
        return true;
    }

    bool isDeclaration(std::size_t p) const { return startsWith(p, "<?xml", true); }

    // Adds the work of a node inside `depth` elements (0 for an attribute);
    // false once the document asks for too much. In 32nds of a node.
    bool charge(std::size_t depth)
    {
        m_work += 32 + depth;
        if (m_work > 32 * kXmlMaxWork)
            m_refused = true;
        return !m_refused;
    }

    std::size_t skipSpace(std::size_t p) const
    {
        for (;;) {
            const unsigned char c = at(p);
            if (m_utf8 && c == 0xEF && at(p + 1) == 0xBB && at(p + 2) == 0xBF)
                p += 3;   // byte order marks count as blanks
            else if (m_utf8 && c == 0xEF && at(p + 1) == 0xBF && (at(p + 2) == 0xBE || at(p + 2) == 0xBF))
                p += 3;
            else if (isSpace(c))
                ++p;
            else
                return p;
        }
    }

    std::size_t find(std::size_t p, const char* tag) const
    {
        for (;; ++p) {
            const unsigned char c = at(p);
            if (c == 0)
                return kStop;
            if (c == static_cast<unsigned char>(tag[0]) && startsWith(p, tag))
                return p;
        }
    }

    // An '&': a character reference moves to its ';' (the library checks
    // only the digits back to the nearest 'x' or '#'), a named one past its
    // name, anything else one byte.
    std::size_t entity(std::size_t p) const
    {
        if (at(p + 1) == '#' && at(p + 2) != 0) {
            const bool hex = at(p + 2) == 'x';
            const std::size_t from = hex ? p + 3 : p + 2;
            if (hex && at(from) == 0)
                return kStop;
            std::size_t end = from;
            while (at(end) != 0 && at(end) != ';')
                ++end;
            if (at(end) == 0)
                return kStop;
            for (std::size_t q = end - 1; at(q) != (hex ? 'x' : '#'); --q) {
                const unsigned char d = at(q);
                const bool digit = (d >= '0' && d <= '9')
                                   || (hex && ((d >= 'a' && d <= 'f') || (d >= 'A' && d <= 'F')));
                if (!digit)
                    return kStop;
            }
            return end + 1;
        }
        for (const char* named : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
            if (startsWith(p, named)) {
                std::size_t n = 0;
                while (named[n])
                    ++n;
                return p + n;
            }
        }
        return p + 1;
    }

    // Reads the letters of a text or quoted value up to and past `end`;
    // kStop when nothing follows it. Read as UTF-8, a multi-byte letter is
    // stepped over whole, even across a NUL, as the library does.
    std::size_t readTo(std::size_t p, unsigned char end) const
    {
        for (;;) {
            const unsigned char c = at(p);
            if (c == end)
                break;
            if (c == 0)
                return kStop;
            if (c == '&') {
                p = entity(p);
                if (p == kStop)
                    return kStop;
            } else if (m_utf8) {
                p += static_cast<std::size_t>(utf8Length(c));
            } else {
                ++p;
            }
        }
        ++p;
        return at(p) == 0 ? kStop : p;
    }

    std::size_t text(std::size_t p, std::size_t depth)
    {
        if (!charge(depth))
            return kStop;
        p = readTo(p, '<');
        return p == kStop ? kStop : p - 1;   // at the '<'
    }

    struct Name {
        std::size_t at = 0;
        std::size_t size = 0;
    };

    bool sameName(const Name& a, const Name& b) const
    {
        if (a.size != b.size)
            return false;
        for (std::size_t i = 0; i < a.size; ++i) {
            if (at(a.at + i) != at(b.at + i))
                return false;
        }
        return true;
    }

    std::size_t name(std::size_t p) const
    {
        if (!isNameStart(at(p)))
            return kStop;
        while (isNameChar(at(p)))
            ++p;
        return at(p) == 0 ? kStop : p;
    }

    // name = value, the value quoted or bare. `named` receives the name.
    std::size_t attribute(std::size_t p, Name& named) const
    {
        named.at = skipSpace(p);
        p = name(named.at);
        if (p == kStop)
            return kStop;
        named.size = p - named.at;
        p = skipSpace(p);
        if (at(p) != '=')
            return kStop;
        p = skipSpace(p + 1);
        const unsigned char quote = at(p);
        if (quote == 0)
            return kStop;
        if (quote == '"' || quote == '\'')
            return readTo(p + 1, quote);
        for (; at(p) != 0 && !isSpace(at(p)) && at(p) != '/' && at(p) != '>'; ++p) {
            if (at(p) == '"' || at(p) == '\'')
                return kStop;
        }
        return p;
    }

    // A start tag; `depth` grows when the element has content.
    std::size_t startTag(std::size_t p, std::size_t& depth)
    {
        if (depth + 1 > kXmlMaxDepth) {
            m_refused = true;
            return kStop;
        }
        Name& element = m_open[depth];
        element.at = skipSpace(p + 1);
        p = name(element.at);
        if (p == kStop)
            return kStop;
        element.size = p - element.at;
        std::size_t attributes = 0;
        while (p != kStop) {
            p = skipSpace(p);
            const unsigned char c = at(p);
            if (c == 0)
                return kStop;
            if (c == '/')
                return at(p + 1) == '>' ? p + 2 : kStop;
            if (c == '>') {
                ++depth;
                return p + 1;
            }
            Name added;
            p = attribute(p, added);
            if (p == kStop || at(p) == 0)
                return kStop;
            // The library refuses an attribute given twice.
            for (std::size_t i = 0; i < attributes; ++i) {
                if (sameName(m_attributes[i], added))
                    return kStop;
            }
            if (attributes == kXmlMaxAttributes) {
                m_refused = true;
                return kStop;
            }
            if (!charge(0))
                return kStop;
            m_attributes[attributes++] = added;
        }
        return kStop;
    }

    // "</" and the open element's name, then blanks and '>'.
    std::size_t endTag(std::size_t p, const Name& open) const
    {
        p += 2;
        for (std::size_t i = 0; i < open.size; ++i, ++p) {
            if (at(p) != at(open.at + i) || at(p) == 0)
                return kStop;
        }
        p = skipSpace(p);
        return at(p) == '>' ? p + 1 : kStop;
    }

    // "<?xml": only version, encoding and standalone are read as attributes.
    std::size_t declaration(std::size_t p)
    {
        p += 5;
        while (at(p) != 0) {
            if (at(p) == '>')
                return p + 1;
            p = skipSpace(p);
            if (at(p) == 0)
                return kStop;
            if (startsWith(p, "version", true) || startsWith(p, "encoding", true)
                || startsWith(p, "standalone", true)) {
                Name ignored;
                p = attribute(p, ignored);
                if (p == kStop)
                    return kStop;
            } else {
                while (at(p) != 0 && at(p) != '>' && !isSpace(at(p)))
                    ++p;
            }
        }
        return kStop;
    }

    // A node that starts at '<' (anything but an end tag inside an element).
    std::size_t node(std::size_t p, std::size_t& depth)
    {
        if (!charge(depth))
            return kStop;
        if (isDeclaration(p))
            return declaration(p);
        if (startsWith(p, "<!--")) {
            p = find(p + 4, "-->");
            return p == kStop ? kStop : p + 3;
        }
        if (startsWith(p, "<![CDATA[")) {
            p = find(p + 9, "]]>");
            return p == kStop || at(p + 3) == 0 ? kStop : p + 3;
        }
        if (isNameStart(at(p + 1)))
            return startTag(p, depth);
        // "<!DOCTYPE", other "<!" and "<?" nodes, and a stray "</" at the top
        // level: the library ends them at the first '>', quotes or not.
        while (at(p) != 0 && at(p) != '>')
            ++p;
        return at(p) == '>' ? p + 1 : kStop;
    }

    const unsigned char* m_data;
    std::size_t m_size;
    const CharClasses& m_classes;
    bool m_utf8;
    bool m_switchToUtf8;
    std::size_t m_work = 0;
    bool m_refused = false;
    std::array<Name, kXmlMaxDepth> m_open{};             // names of the open elements
    std::array<Name, kXmlMaxAttributes> m_attributes{};  // of the start tag being read
};


// Whether every reading steps over the same letters: true unless a lead byte
// lacks its continuation bytes (with them, all non-ASCII, it moves to the same
// next letter either way), a byte order mark stands in the text, or the
// locale lowers a high byte into ASCII.
bool readsAlike(const unsigned char* data, std::size_t size, const CharClasses& classes)
{
    for (int c = 0x80; c < 256; ++c) {
        if (classes.lowered[c] >= 0 && classes.lowered[c] < 0x80)
            return false;
    }
    for (std::size_t i = 0; i < size;) {
        const unsigned char c = data[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        const auto n = static_cast<std::size_t>(utf8Length(c));
        if (n == 1) {
            ++i;   // not a lead byte: one byte in every reading
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
    return true;
}

} // namespace

bool xmlWithinLimits(const char* data, std::size_t size)
{
    if (data == nullptr)
        return size == 0;
    const CharClasses classes;
    if (!Scan(data, size, Reading::Bytes, classes).withinLimits())
        return false;
    return readsAlike(reinterpret_cast<const unsigned char*>(data), size, classes)
           || (Scan(data, size, Reading::Utf8, classes).withinLimits()
               && Scan(data, size, Reading::BytesThenUtf8, classes).withinLimits());
}
