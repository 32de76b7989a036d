#pragma once
// What the maps file reader and the XDF import share: getting a file's bytes
// to the XML parser, and reading values, axis ids and labels out of elements.
#include <cstdint>
#include <span>
#include <string>

#include <tinyxml.h>

#include "common/number_notation.h"
#include "definitions/map_definition.h"

enum class FileBytes { Read, Missing, Unreadable };

// The whole file at `path`. Missing: no regular file there. Opened without
// blocking and checked once open, so a FIFO put in its place cannot hang.
FileBytes readDefinitionFile(const std::string& path, std::string& bytes);

// Parses a definitions document from the file's bytes (which it consumes).
// A file that is not UTF-8 is decoded from Windows-1252 first, so the parser
// always reads UTF-8. A document beyond the XML input guard's limits is
// refused unparsed (false). False when the document is not well-formed.
bool parseDefinitionXml(TiXmlDocument& doc, std::string& bytes);

// A text or attribute value of the parsed document as UTF-8: a character
// reference to no character (a surrogate, beyond U+10FFFF) leaves bytes that
// are not UTF-8, and each of them becomes U+FFFD. Null gives "".
std::string parsedText(const char* text);

// The element's text, as parsedText.
std::string elementText(const TiXmlElement& e);

// The root's first section: its first child element once comments,
// processing instructions and blank text are passed. Other text first means
// no section, as files have always been read.
const TiXmlElement* firstSection(const TiXmlElement& root);

// The element's text without the blanks and line breaks around it, as a
// number is read (an indented file may put one on a line of its own); null
// when the element has no text. `buffer` holds what is returned.
const char* numberText(const TiXmlElement& e, std::string& buffer);

inline std::uint32_t elementHex(const TiXmlElement& e)
{
    std::string buffer;
    return readHexNotation(numberText(e, buffer));
}
inline std::uint16_t elementInt(const TiXmlElement& e)
{
    std::string buffer;
    return readIntNotation(numberText(e, buffer));
}
inline double elementReal(const TiXmlElement& e, double fallback)
{
    std::string buffer;
    return readRealNotation(numberText(e, buffer), fallback);
}

// "x" selects the X axis, "y" the Y axis, anything else (or none) Z.
AxisIndex axisOfId(const char* id);

// A label element's "index" and "value" attributes stored into the axis. An
// element without either, or with an index beyond the axis's 256 labels, is
// skipped.
void readLabel(AxisDefinition& axis, const TiXmlElement& e);

// How one kind of definitions file names its accepted version and its
// sections, and how each section is read into the store.
struct DefinitionFormat {
    const char* version;
    const char* headerSection;
    const char* tableSection;
    const char* checksumSection;
    void (*readHeader)(DefinitionsHeader&, const TiXmlElement&);
    void (*readTable)(MapDefinition&, const TiXmlElement&);
    void (*readChecksum)(ChecksumDefinition&, const TiXmlElement&);
};

enum class SectionsRead { Loaded, LoadedToLimit, Unreadable, Corrupted, IncompatibleVersion };

// Parses the document and finds its root, recording the root's version in
// the store's format version. Loaded (root set) when the version is one of
// `versions`; any other outcome leaves the store as it was, except the
// format version after a version mismatch.
SectionsRead openDefinitionRoot(TiXmlDocument& doc, std::string& bytes, DefinitionStore& store,
                                std::span<const char* const> versions, const TiXmlElement*& root);

// Parses the document and reads its sections into the store. A failure
// before the version check leaves the store unchanged; a version mismatch
// still records the file's version; an accepted file restarts the map list at
// 0 and overwrites only the fields the file gives. Tables beyond the
// kMaxMaps-th are dropped (LoadedToLimit). Sections are read from firstSection on.
SectionsRead readDefinitionSections(DefinitionStore& store, std::string& bytes, const DefinitionFormat& format);

// The same outcome in a file kind's own status type, whose enumerators carry
// the same names.
template <typename Status>
Status sectionsStatus(SectionsRead read)
{
    switch (read) {
    case SectionsRead::Loaded: return Status::Loaded;
    case SectionsRead::LoadedToLimit: return Status::LoadedToLimit;
    case SectionsRead::Unreadable: return Status::Unreadable;
    case SectionsRead::Corrupted: return Status::Corrupted;
    case SectionsRead::IncompatibleVersion: return Status::IncompatibleVersion;
    }
    return Status::Unreadable;
}
