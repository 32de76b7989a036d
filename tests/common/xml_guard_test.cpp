// The rows state what the parser builds; the fuzz target checks the guard
// against the parser itself on arbitrary input.
#include "common/xml_guard.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

std::string repeat(const std::string& text, std::size_t n)
{
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out += text;
    return out;
}

// `n` nested elements with `inner` at the bottom.
std::string nested(std::size_t n, const std::string& inner = "")
{
    return repeat("<a>", n) + inner + repeat("</a>", n);
}

std::string withAttributes(std::size_t n)
{
    std::string tag = "<a";
    for (std::size_t i = 0; i < n; ++i)
        tag += " n" + std::to_string(i) + "=''";
    return tag + "/>";
}

struct Row {
    const char* what;
    std::string text;
    bool accepted;
};

void check(const std::vector<Row>& rows)
{
    for (const Row& row : rows)
        EXPECT_EQ(xmlWithinLimits(row.text.data(), row.text.size()), row.accepted) << row.what;
}

TEST(XmlGuard, CountsWhatTheParserBuilds)
{
    const std::size_t d = kXmlMaxDepth;
    check({
        {"deepest", nested(d), true},
        {"one level more", nested(d + 1), false},
        {"self-closing below the deepest", nested(d, "<b/>"), false},
        {"most attributes", nested(1, withAttributes(kXmlMaxAttributes)), true},
        {"one attribute more", nested(1, withAttributes(kXmlMaxAttributes + 1)), false},
        // What the parser never opens does not count...
        {"comment", nested(d, "<!--" + nested(5) + "-->"), true},
        {"CDATA", nested(d, "<![CDATA[" + nested(5) + "]]>"), true},
        {"quoted values", nested(d - 1, "<b x='<a>' y=\"><a>\"/>"), true},
        {"character reference over tags", nested(d - 1, "<b x=\"&#xq\"><a>x1;\"/>"), true},
        {"declaration value", nested(d, "<?xml version=\"><a>\"?>"), true},
        {"text after the root", nested(1) + "end" + nested(d + 5), true},
        {"after a NUL", nested(d) + std::string(1, '\0') + nested(d + 5), true},
        {"after a wrong end tag", nested(2, "</b>") + nested(d + 5), true},
        {"after a repeated attribute", "<r x='1' x='2'>" + nested(d + 5) + "</r>", true},
        // ...and what it opens does, however it is written.
        {"after a doctype", "<!DOCTYPE r SYSTEM \"r.dtd\">" + nested(d + 1), false},
        {"'>' in quotes ends a doctype", nested(d, "<!DOCTYPE x '>" + nested(1) + "'>"), false},
        {"a stray end tag at the top", "</a>" + nested(d + 1), false},
        {"end tags with blanks", "<r>" + repeat("<a></a \n>", d + 5) + "</r>", true},
        // Read as UTF-8 a lead byte swallows what follows it, quotes too; read
        // byte by byte it does not; left to itself, the parser reads UTF-8
        // after the declaration, where byte order marks count as blanks.
        {"UTF-8", nested(d - 1, "<b x=\"\xE0\" y='\"><a>'/>"), false},
        {"bytes", nested(d - 1, "<b x=\"\xE0\"/><c><a/></c>"), false},
        {"UTF-8 after the declaration", "<?xml version=\"\xE0\"?><r y=\"\xE0\" z='\">" + repeat("<a>", d) + "'/>", false},
        {"byte order mark", "<r><a></a\xEF\xBB\xBF>" + nested(d) + "</r>", false},
    });
}

// A declaration that the text ends inside is refused: the parser, unless
// patched, asserts on the end after a blank.
TEST(XmlGuard, RefusesADeclarationCutShort)
{
    check({
        {"blank", "<?xml ", false},
        {"after a value", "<?xml version=\"1.0\" ", false},
        {"after a name", "<?XML version=\"1.0\" standalone", false},
        {"bare", "<?xml", false},
        {"inside an element", "<r><?xml encoding='x'\n", false},
        {"after a whole one", "<?xml version='1.0'?>\n<r><?xml  ", false},
        {"in a value", "<?xml version='1.0 ", false},
        {"ended", "<?xml version='1.0' ?><r/>", true},
        {"ended by a later '>'", "<r><?xml a </r>", true},
        {"in a comment", "<r/><!-- <?xml  -->", true},
    });
}

// The most copies of `leaf` (`cost` in 32nds of a node) that the root "<r>"
// holds within the work limit of the whole text.
std::size_t mostLeaves(const std::string& leaf, std::size_t cost)
{
    const auto fits = [&](std::size_t n) { return 32 + cost * n <= 32 * xmlWorkLimit(7 + leaf.size() * n); };
    std::size_t n = 0;
    for (std::size_t step = std::size_t{1} << 26; step > 0; step /= 2) {
        if (fits(n + step))
            n += step;
    }
    return n;
}

TEST(XmlGuard, WorkLimitGrowsWithTheText)
{
    // In 32nds of a node: the root costs 32, a node inside it 33, one inside
    // two elements 34, an attribute 32 and 4 more for each before it on its
    // element. Empty elements (a unit per 4 bytes) go a quarter beyond the
    // base; elements with a text of 27 bytes (2.1 units per 34 bytes) as far
    // as they like; elements of 32 attributes (the parser's slowest per byte)
    // to less than a third of the base.
    const std::size_t leaves = mostLeaves("<a/>", 33);
    EXPECT_EQ(leaves / 10'000, 191u);
    const std::string text = "<a>" + std::string(27, 't') + "</a>";
    const std::string crowded = withAttributes(kXmlMaxAttributes);
    const std::size_t crowdedLeaves = mostLeaves(crowded, 33 + 32 * 32 + 4 * (32 * 31 / 2));
    EXPECT_EQ(crowdedLeaves / 1'000, 18u);
    check({
        {"elements of 32 attributes", "<r>" + repeat(crowded, crowdedLeaves) + "</r>", true},
        {"one such element more", "<r>" + repeat(crowded, crowdedLeaves + 1) + "</r>", false},
        {"nodes", "<r>" + repeat("<a/>", leaves) + "</r>", true},
        {"one node more", "<r>" + repeat("<a/>", leaves + 1) + "</r>", false},
        {"deeper nodes", nested(2, repeat("<a/>", leaves)), false},
        {"attributes", "<r>" + repeat("<a/>", leaves - 1) + "<a x='' y=''/></r>", false},
        {"after a NUL earns nothing", "<r>" + repeat("<a/>", leaves + 1) + "</r>" + std::string(1, '\0') + std::string(64, ' '), false},
        {"a million elements with texts", "<r>" + repeat(text, 1'000'000) + "</r>", true},
    });
    EXPECT_TRUE(xmlWithinLimits(nullptr, 0));
}

} // namespace
