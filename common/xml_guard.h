#pragma once
// A look at an XML document before the XML library parses it. The library
// recurses once per nesting level, so a deep enough file overflows the stack;
// each node it builds walks up to the document, so its time grows with depth
// times nodes; and it checks every new attribute against all earlier ones of
// the element, so its time grows with the square of the attributes. This
// pre-scan reads the text once, without recursion, splitting it exactly where
// the library does (comments, CDATA, declarations, DOCTYPE and other "<!"
// nodes, quoted attribute values holding '<' or '>', entities, self-closing
// tags), up to the point where the library would stop, and refuses what goes
// beyond the limits below. It also refuses a document in which the library
// stops inside an XML declaration ("<?xml " at the end of the text, say):
// unless patched, the library asserts on some of these and aborts.
#include <cstddef>

// Real maps and XDF files nest fewer than 10 levels and carry fewer than 10
// attributes on an element; 32 of each is several times that. The work limit
// holds the largest maps file there can be (256 full maps, 13 MB: 214,000
// nodes and 394,000 attributes, some 630,000 units) more than twice over, and
// keeps the parse of any document to about half a second.
inline constexpr std::size_t kXmlMaxDepth = 32;
inline constexpr std::size_t kXmlMaxAttributes = 32;   // on one element
// The parser's work in units: each node (element, text, comment, ...) and
// each attribute counts one, and a node a thirty-second more for each element
// it sits in, since the library walks up to the document for every node.
inline constexpr std::size_t kXmlMaxWork = 1'500'000;

// True when the document stays within the limits. `data` need not end in a
// NUL; a NUL in it ends the document, as it does for the library. A text that
// ends in four NULs or more (as the parser's input does) is read in place,
// any other from a padded copy. The text is
// read in each of the library's ways to step over letters (byte by byte, as
// UTF-8, and as it does when left to detect the encoding), so the answer holds
// whichever encoding the parser is given.
bool xmlWithinLimits(const char* data, std::size_t size);
