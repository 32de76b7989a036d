#include "common/xml_guard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <tinyxml.h>

namespace {

// Whether the XML library itself, given any of its encodings, builds an
// element deeper or with more attributes than the limits (up to where it stops).
bool parserGoesBeyond(const std::string& text)
{
    const std::string padded = text + std::string(8, '\0');
    for (TiXmlEncoding encoding : {TIXML_ENCODING_LEGACY, TIXML_ENCODING_UTF8, TIXML_ENCODING_UNKNOWN}) {
        TiXmlDocument doc;
        doc.Parse(padded.c_str(), nullptr, encoding);
        std::vector<std::pair<const TiXmlNode*, std::size_t>> todo{{&doc, 0}};
        while (!todo.empty()) {
            const auto [node, depth] = todo.back();
            todo.pop_back();
            if (const TiXmlElement* e = node->ToElement()) {
                std::size_t attributes = 0;
                for (const TiXmlAttribute* a = e->FirstAttribute(); a; a = a->Next())
                    ++attributes;
                if (depth > kXmlMaxDepth || attributes > kXmlMaxAttributes)
                    return true;
            }
            for (const TiXmlNode* child = node->FirstChild(); child; child = child->NextSibling())
                todo.push_back({child, depth + 1});
        }
    }
    return false;
}

std::string repeat(const std::string& text, std::size_t n)
{
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out += text;
    return out;
}

// `n` nested elements, each holding `inner` at the bottom.
std::string nested(std::size_t n, const std::string& inner = "")
{
    return repeat("<a>", n) + inner + repeat("</a>", n);
}

std::string withAttributes(std::size_t n)
{
    std::string tag = "<a";
    for (std::size_t i = 0; i < n; ++i)
        tag += " n" + std::to_string(i) + "=\"\"";
    return tag + "/>";
}

TEST(XmlGuard, LimitsCountWhatTheParserBuilds)
{
    const std::size_t d = kXmlMaxDepth;
    const std::size_t a = kXmlMaxAttributes;
    struct Row {
        const char* what;
        std::string text;
        bool accepted;
    };
    const Row rows[] = {
        {"deepest", nested(d), true},
        {"one level more", nested(d + 1), false},
        {"self-closing at the bottom", nested(d - 1, "<b/>"), true},
        {"self-closing below the deepest", nested(d, "<b/>"), false},
        {"siblings do not nest", repeat(nested(d), 50), true},
        {"most attributes", nested(1, withAttributes(a)), true},
        {"one attribute more", nested(1, withAttributes(a + 1)), false},
        {"root with attributes", "<r" + withAttributes(a + 1).substr(2), false},
        // What the parser never opens as an element must not count...
        {"tags in a comment", nested(d, "<!--" + repeat("<a>", 50) + "-->"), true},
        {"tags in CDATA", nested(d, "<![CDATA[" + repeat("<a>", 50) + "]]>"), true},
        {"tags in quoted values", nested(d - 1, "<b x='<a>' y=\"<a><a>\"/>"), true},
        {"quoted '>' does not end the tag", nested(d - 1, "<b x='>' y=\">\"/>"), true},
        {"entity stepping over tags", nested(d - 1, "<b x=\"&#xq\"><a>x1;\"/>"), true},
        {"declaration value", nested(d, "<?xml version=\"><a>\"?>"), true},
        {"processing instruction", nested(d, "<?pi x?>"), true},
        {"bare values", nested(d - 1, "<b y=<a/>"), true},
        {"blanks before an end tag's '>'", "<r>" + repeat("<a></a \n>", d + 5) + "</r>", true},
        {"text after the root ends the document", nested(1) + "end" + nested(d + 5), true},
        {"a NUL ends the document", nested(d) + std::string(1, '\0') + nested(d + 5), true},
        {"a wrong end tag ends the document", nested(2, "</b>") + nested(d + 5), true},
        {"a repeated attribute ends the document", "<r x='1' x='2'>" + nested(d + 5) + "</r>", true},
        // ...and what it does open must count, however it is written.
        {"a doctype does not end the document", "<!DOCTYPE r SYSTEM \"r.dtd\">" + nested(d + 1), false},
        {"'>' ends a doctype, quotes or not", nested(d, "<!DOCTYPE x '>" + nested(1) + "'>"), false},
        {"'>' ends a processing instruction", nested(d, "<?pi '>" + nested(1) + "'?>"), false},
        {"a stray end tag at the top is no end", "</a>" + nested(d + 1), false},
        // Read as UTF-8, a lead byte swallows what follows it, quotes included;
        // read byte by byte, it does not; left to itself, the parser switches
        // to UTF-8 after the declaration.
        {"UTF-8 reading", nested(d - 1, "<b x=\"\xE0\" y='\"><a>'/>"), false},
        {"byte reading", nested(d - 1, "<b x=\"\xE0\"/><c><a/></c>"), false},
        {"UTF-8 after the declaration", "<?xml version=\"\xE0\"?><r y=\"\xE0\" z='\">" + repeat("<a>", d) + "'/>", false},
        {"byte order marks are blanks in UTF-8", "<r><a></a\xEF\xBB\xBF>" + nested(d) + "</r>", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(xmlWithinLimits(row.text.data(), row.text.size()), row.accepted);
        EXPECT_EQ(parserGoesBeyond(row.text), !row.accepted);
    }
}

TEST(XmlGuard, WorkLimit)
{
    // Units in 32nds: a node inside one element costs 33, an attribute 32.
    const std::size_t budget = 32 * kXmlMaxWork - 32;   // after the root
    struct Row {
        const char* what;
        std::string text;
        bool accepted;
    };
    const Row rows[] = {
        {"nodes", "<r>" + repeat("<a/>", budget / 33) + "</r>", true},
        {"one node more", "<r>" + repeat("<a/>", budget / 33 + 1) + "</r>", false},
        {"attributes", "<r>" + repeat("<a/>", (budget - 32 * 1000 * 20) / 33) + repeat(withAttributes(20), 1000) + "</r>", false},
        {"deeper nodes cost more", nested(2, repeat("<a/>", budget / 33)), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(xmlWithinLimits(row.text.data(), row.text.size()), row.accepted);
    }
    EXPECT_TRUE(xmlWithinLimits(nullptr, 0));
}

} // namespace
