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
// attributes on an element; 32 of each is several times that.
inline constexpr std::size_t kXmlMaxDepth = 32;
inline constexpr std::size_t kXmlMaxAttributes = 32;   // on one element
// The parser's work in units: each node (element, text, comment, ...) and
// each attribute counts one, a node a thirty-second more for each element it
// sits in, since the library walks up to the document for every node, and an
// attribute an eighth more for each one before it on its element, since the
// library compares their names (32 attributes on one element: about three
// times the work of 32 nodes).
// The work a document may ask for grows with its size. Real files carry one
// unit per 13 to 21 bytes (a maps file one per 17 to 21: 256 full maps are
// 13 MB and 630,000 units; an XDF export one per 16, or 13 with its blanks
// removed), so a base of 1.5 million units holds any real file of up to
// 19 MB, and a unit per 16 bytes above it real files of any size (the densest
// up to 100 MB). The densest file (empty elements, a unit per 4 bytes) is
// refused beyond 7.7 MB, whose parse takes about half a second, and any file
// of up to 15 MB is held to under a second; past that a hostile file holds
// the parser up to about three times as long per byte as a real one.
inline constexpr std::size_t kXmlBaseWork = 1'500'000;
inline constexpr std::size_t kXmlBytesPerWork = 16;

// The work allowed for a document of `size` bytes (those before any NUL), in units.
constexpr std::size_t xmlWorkLimit(std::size_t size)
{
    return kXmlBaseWork + size / kXmlBytesPerWork;
}

// True when the document stays within the limits. `data` need not end in a
// NUL; a NUL in it ends the document, as it does for the library. A text that
// ends in four NULs or more (as the parser's input does) is read in place,
// any other from a padded copy. The text is
// read in each of the library's ways to step over letters (byte by byte, as
// UTF-8, and as it does when left to detect the encoding), so the answer holds
// whichever encoding the parser is given.
bool xmlWithinLimits(const char* data, std::size_t size);
