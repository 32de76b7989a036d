#include "definitions/definition_xml.h"

#include <cstring>
#include <new>
#include <string_view>

#include "common/read_file.h"
#include "common/text_encoding.h"
#include "common/xml_guard.h"

namespace {

// NULs after the text: the parser may step up to three bytes past the
// terminator after a cut-off multi-byte sequence, and the XML input guard
// reads a padded text in place.
constexpr std::size_t kParserPadding = 8;

// Far beyond any real definitions file (a full list of 65,535 maps is about
// 110 MB); the parser needs several times a file's size.
constexpr std::size_t kLargestFile = std::size_t(512) << 20;

} // namespace

FileBytes readDefinitionFile(const std::string& path, std::string& bytes)
{
    switch (readRegularFile(path, bytes, kParserPadding, kLargestFile)) {
    case FileReadStatus::Read: return FileBytes::Read;
    case FileReadStatus::NotFound: return FileBytes::Missing;
    case FileReadStatus::Unreadable: return FileBytes::Unreadable;
    }
    return FileBytes::Unreadable;
}

namespace {

// Turns the file's bytes into what the XML parser should see: no UTF-8 byte
// order mark, line ends normalised as the library's own file loader does, and
// the padding. One pass, moving whole lines at a time (exported files mostly
// end their lines with CR LF).
void prepareParserInput(std::string& bytes)
{
    char* const d = bytes.data();
    const std::size_t n = bytes.size();
    std::size_t in = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    std::size_t out = 0;
    while (in < n) {
        const void* cr = std::memchr(d + in, '\r', n - in);
        const std::size_t end = cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - d) : n;
        if (out != in)
            std::memmove(d + out, d + in, end - in);
        out += end - in;
        in = end;
        if (in < n) {
            d[out++] = '\n';   // d[in] is a CR
            if (++in < n && d[in] == '\n')
                ++in;
        }
    }
    bytes.resize(out);
    bytes.append(kParserPadding, '\0');
}

bool parseWithinMemory(TiXmlDocument& doc, std::string& bytes)
{
    prepareParserInput(bytes);
    // The parser reads UTF-8 only: read byte by byte, a legacy file would
    // lose every character reference above 255 to its low byte.
    legacyTextToUtf8(bytes);
    // Nesting or attributes far beyond any real file would overflow the
    // parser's stack or keep it busy for minutes.
    if (!xmlWithinLimits(bytes.data(), bytes.size()))
        return false;
    doc.SetTabSize(0);   // no row and column tracking: a fifth of the parse time
    // Texts are read as written: the parser would otherwise trim them and
    // fold runs of blanks and line breaks into one blank.
    TiXmlBase::SetCondenseWhiteSpace(false);
    doc.Parse(bytes.c_str(), nullptr, TIXML_ENCODING_UTF8);
    std::string().swap(bytes);   // the document holds copies of everything
    return !doc.Error();
}

} // namespace

bool parseDefinitionXml(TiXmlDocument& doc, std::string& bytes)
{
    try {
        return parseWithinMemory(doc, bytes);
    } catch (const std::bad_alloc&) {
        doc.Clear();
        std::string().swap(bytes);
        return false;
    }
}

std::string parsedText(const char* text)
{
    return text ? validUtf8(text) : std::string();
}

std::string elementText(const TiXmlElement& e)
{
    return parsedText(e.GetText());
}

const char* numberText(const TiXmlElement& e, std::string& buffer)
{
    const char* text = e.GetText();
    if (!text)
        return nullptr;
    const std::string_view blanks = " \t\n\r\v\f";
    std::string_view number = text;
    const std::size_t first = number.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return "";
    number = number.substr(first, number.find_last_not_of(blanks) - first + 1);
    buffer.assign(number);
    return buffer.c_str();
}

const TiXmlElement* firstSection(const TiXmlElement& root)
{
    const TiXmlNode* node = root.FirstChild();
    for (; node; node = node->NextSibling()) {
        const TiXmlText* text = node->ToText();
        const bool blank = text && text->ValueStr().find_first_not_of(" \t\n\r") == std::string::npos;
        // Comments and processing instructions that tools write before the
        // first section carry nothing of it.
        if (!blank && !node->ToComment() && !node->ToUnknown())
            break;
    }
    return node ? node->ToElement() : nullptr;
}

AxisIndex axisOfId(const char* id)
{
    if (!id)
        return AxisZ;
    return std::strcmp(id, "x") == 0 ? AxisX : std::strcmp(id, "y") == 0 ? AxisY : AxisZ;
}

void readLabel(AxisDefinition& axis, const TiXmlElement& e)
{
    const char* index = e.Attribute("index");
    const char* value = e.Attribute("value");
    if (!index || !value)
        return;
    const unsigned long i = readUnsignedNotation(index);
    if (i >= static_cast<unsigned long>(kMaxLabels))
        return;   // there are only 256 labels per axis
    axis.labels[i] = readLeadingReal(value);
}

SectionsRead openDefinitionRoot(TiXmlDocument& doc, std::string& bytes, DefinitionStore& store,
                                std::span<const char* const> versions, const TiXmlElement*& root)
{
    if (!parseDefinitionXml(doc, bytes))
        return SectionsRead::Unreadable;
    root = doc.FirstChildElement();
    if (!root)
        return SectionsRead::Corrupted;
    const char* version = root->Attribute("version");
    store.formatVersion = parsedText(version);
    for (const char* accepted : versions)
        if (version && std::strcmp(version, accepted) == 0)
            return SectionsRead::Loaded;
    return SectionsRead::IncompatibleVersion;
}

SectionsRead readDefinitionSections(DefinitionStore& store, std::string& bytes, const DefinitionFormat& format)
{
    TiXmlDocument doc;
    const TiXmlElement* root = nullptr;
    const SectionsRead opened = openDefinitionRoot(doc, bytes, store, {&format.version, 1}, root);
    if (opened != SectionsRead::Loaded)
        return opened;

    store.mapCount = 0;
    bool dropped = false;
    for (const TiXmlElement* section = firstSection(*root); section; section = section->NextSiblingElement()) {
        const std::string& name = section->ValueStr();
        if (name == format.headerSection) {
            format.readHeader(store.header, *section);
        } else if (name == format.tableSection) {
            if (store.mapCount >= kMaxMaps) {
                dropped = true;
                continue;
            }
            format.readTable(store.maps[store.mapCount], *section);
            ++store.mapCount;
        } else if (name == format.checksumSection) {
            format.readChecksum(store.checksum, *section);
        }
    }
    return dropped ? SectionsRead::LoadedToLimit : SectionsRead::Loaded;
}
