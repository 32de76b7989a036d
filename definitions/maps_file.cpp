#include "definitions/maps_file.h"

#include <charconv>
#include <cstdint>
#include <cstring>

#include <locale.h>
#include <stdlib.h>

#include <tinyxml.h>

#include "common/hex_format.h"
#include "common/read_file.h"
#include "common/safe_file.h"
#include "common/text_encoding.h"
#include "common/xml_guard.h"

const char* mapsFileStatusMessage(MapsFileStatus status)
{
    switch (status) {
    case MapsFileStatus::Loaded: return "";
    case MapsFileStatus::LoadedFirst256: return "Only the first 256 maps were loaded.";
    case MapsFileStatus::NotFound: return "Maps file not found!";
    case MapsFileStatus::Unreadable: return "Unable to load maps file!";
    case MapsFileStatus::Corrupted: return "The maps file is corrupted!";
    case MapsFileStatus::IncompatibleVersion: return "The maps file version is not compatible!";
    case MapsFileStatus::Saved: return "Maps file saved.";
    case MapsFileStatus::SaveFailed: return "Unable to save maps file!";
    }
    return "";
}

namespace {

// Numbers in the file always use the C conventions, whatever locale the
// desktop gave the process.
locale_t cLocale()
{
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

// ---------------------------------------------------------------- reading

const char* textOf(const TiXmlElement& e)
{
    const char* t = e.GetText();
    return t ? t : "";
}

// Only the first ten characters count ("0x" and eight digits); 0x, a leading
// 0 (octal) or plain decimal, as strtoul with base 0 reads them.
std::uint32_t readHex(const TiXmlElement& e)
{
    char head[11] = {};
    std::strncpy(head, textOf(e), 10);
    return static_cast<std::uint32_t>(strtoul_l(head, nullptr, 0, cLocale()));
}

std::uint16_t readInt(const TiXmlElement& e)
{
    return static_cast<std::uint16_t>(strtol_l(textOf(e), nullptr, 10, cLocale()));
}

// The whole text must be a number; otherwise the fallback is taken.
double readReal(const TiXmlElement& e, double fallback)
{
    const char* text = textOf(e);
    char* end = nullptr;
    const double value = strtod_l(text, &end, cLocale());
    return (end == text || *end != '\0') ? fallback : value;
}

std::string readText(const TiXmlElement& e)
{
    return fileTextToUtf8(e.GetText());
}

void readLabel(AxisDefinition& axis, const TiXmlElement& e)
{
    const char* index = e.Attribute("index");
    const char* value = e.Attribute("value");
    if (!index || !value)
        return;
    const unsigned long i = strtoul_l(index, nullptr, 0, cLocale());
    if (i >= static_cast<unsigned long>(kMaxLabels))
        return;   // there are only 256 labels per axis
    axis.labels[i] = strtod_l(value, nullptr, cLocale());
}

void readAxis(AxisDefinition& axis, const TiXmlElement& section)
{
    for (const TiXmlElement* e = section.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "embeddedinfolabel")
            readLabel(axis, *e);
        else if (name == "flags")
            axis.flags = static_cast<std::uint16_t>(readHex(*e));
        else if (name == "address")
            axis.address = readHex(*e);
        else if (name == "bits")
            axis.bits = readInt(*e);
        else if (name == "units")
            axis.units = readText(*e);
        else if (name == "decimalpl")
            axis.decimalpl = readInt(*e);
        else if (name == "count")
            axis.count = readInt(*e);
        else if (name == "outputtype")
            axis.outputtype = readInt(*e);
        else if (name == "embeddedinfotype")
            axis.embeddedinfotype = readInt(*e);
        else if (name == "factor")
            axis.factor = readReal(*e, 1.0);
        else if (name == "offset")
            axis.offset = readReal(*e, 0.0);
    }
}

void readTable(MapDefinition& map, const TiXmlElement& section)
{
    for (const TiXmlElement* e = section.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "flags") {
            map.flags = static_cast<std::uint16_t>(readHex(*e));
        } else if (name == "title") {
            map.title = readText(*e);
        } else if (name == "description") {
            map.description = readText(*e);
        } else if (name == "AXIS") {
            const char* id = e->Attribute("id");
            const int axis = !id ? AxisZ : std::strcmp(id, "x") == 0 ? AxisX
                                         : std::strcmp(id, "y") == 0 ? AxisY : AxisZ;
            map.axes[axis].id = fileTextToUtf8(id);
            readAxis(map.axes[axis], *e);
        }
    }
}

void readHeader(DefinitionsHeader& header, const TiXmlElement& section)
{
    for (const TiXmlElement* e = section.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "flags")
            header.flags = static_cast<std::uint16_t>(readHex(*e));
        else if (name == "fileversion")
            header.fileversion = readText(*e);
        else if (name == "title")
            header.title = readText(*e);
        else if (name == "description")
            header.description = readText(*e);
        else if (name == "author")
            header.author = readText(*e);
        else if (name == "baseoffset")
            header.baseoffset = readHex(*e);
    }
}

void readChecksum(ChecksumDefinition& checksum, const TiXmlElement& section)
{
    for (const TiXmlElement* e = section.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "title")
            checksum.title = readText(*e);
        else if (name == "pluginid")
            checksum.pluginid = readInt(*e);
    }
}

// Turns the file's bytes into what the XML parser should see: no UTF-8 byte
// order mark, line ends normalised as the library's own file loader does, and
// a few spare NULs at the end, because the library may step up to three bytes
// past the terminator after a cut-off multi-byte sequence.
void prepareParserInput(std::string& bytes)
{
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        bytes.erase(0, 3);
    if (bytes.find('\r') != std::string::npos) {
        std::size_t out = 0;
        const std::size_t n = bytes.size();
        for (std::size_t i = 0; i < n; ++i) {
            if (bytes[i] == '\r') {
                bytes[out++] = '\n';
                if (i + 1 < n && bytes[i + 1] == '\n')
                    ++i;
            } else {
                bytes[out++] = bytes[i];
            }
        }
        bytes.resize(out);
    }
    bytes.append(8, '\0');
}

MapsFileStatus loadPrepared(DefinitionStore& store, const std::string& buffer)
{
    // Nesting or attributes far beyond any real file would overflow the
    // parser's stack or keep it busy for minutes.
    if (!xmlWithinLimits(buffer.data(), buffer.size()))
        return MapsFileStatus::Unreadable;
    // A file that is not UTF-8 is parsed byte by byte: in UTF-8 mode the
    // parser would take a Windows-1252 letter for the start of a multi-byte
    // sequence and swallow the markup after it. Its texts are converted below.
    const bool utf8 = isValidUtf8(buffer.data(), buffer.size());
    TiXmlDocument doc;
    doc.SetTabSize(0);   // no row and column tracking: a fifth of the parse time
    doc.Parse(buffer.c_str(), nullptr, utf8 ? TIXML_ENCODING_UTF8 : TIXML_ENCODING_LEGACY);
    if (doc.Error())
        return MapsFileStatus::Unreadable;

    const TiXmlElement* root = doc.FirstChildElement();
    if (!root)
        return MapsFileStatus::Corrupted;
    const char* version = root->Attribute("version");
    store.formatVersion = fileTextToUtf8(version);
    if (!version || std::strcmp(version, "1.0") != 0)
        return MapsFileStatus::IncompatibleVersion;

    store.mapCount = 0;
    bool dropped = false;
    // Sections are read only when the root's very first node is an element;
    // files have always been read this way.
    const TiXmlNode* first = root->FirstChild();
    for (const TiXmlElement* section = first ? first->ToElement() : nullptr; section;
         section = section->NextSiblingElement()) {
        const std::string& name = section->ValueStr();
        if (name == "HEADER") {
            readHeader(store.header, *section);
        } else if (name == "TABLE") {
            if (store.mapCount >= kMaxMaps) {
                dropped = true;
                continue;
            }
            readTable(store.maps[store.mapCount], *section);
            ++store.mapCount;
        } else if (name == "CHECKSUM") {
            readChecksum(store.checksum, *section);
        }
    }
    return dropped ? MapsFileStatus::LoadedFirst256 : MapsFileStatus::Loaded;
}

} // namespace

MapsFileStatus loadMapsText(DefinitionStore& store, const char* data, std::size_t size)
{
    std::string buffer(data, size);
    prepareParserInput(buffer);
    return loadPrepared(store, buffer);
}

MapsFileStatus loadMapsFile(DefinitionStore& store, const std::string& path)
{
    std::string bytes;
    switch (readRegularFile(path, bytes)) {
    case FileReadStatus::Read:
        break;
    case FileReadStatus::NotFound:
        return MapsFileStatus::NotFound;
    case FileReadStatus::Unreadable:
        return MapsFileStatus::Unreadable;
    }
    prepareParserInput(bytes);
    return loadPrepared(store, bytes);
}

// ---------------------------------------------------------------- writing

namespace {

std::string hexText(std::uint32_t value)
{
    return "0x" + formatHex(value);
}

// "%f" in the C locale.
std::string realText(double value)
{
    char buffer[400];   // the largest double has 309 integer digits
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 6);
    return std::string(buffer, result.ptr);
}

TiXmlElement* addElement(TiXmlNode& parent, const char* name)
{
    auto* e = new TiXmlElement(name);
    parent.LinkEndChild(e);
    return e;
}

// Every value element gets a text node, even an empty one; the library
// escapes what XML needs escaped.
void addValue(TiXmlNode& parent, const char* name, const std::string& text)
{
    addElement(parent, name)->LinkEndChild(new TiXmlText(text));
}

void addLabel(TiXmlNode& parent, int index, double value)
{
    TiXmlElement* e = addElement(parent, "embeddedinfolabel");
    e->SetAttribute("index", std::to_string(index));
    e->SetAttribute("value", realText(value));
}

void writeAxis(TiXmlNode& parent, const AxisDefinition& axis, const char* id)
{
    TiXmlElement* e = addElement(parent, "AXIS");
    e->SetAttribute("id", id);
    addValue(*e, "flags", hexText(axis.flags));
    addValue(*e, "address", hexText(axis.address));
    addValue(*e, "bits", std::to_string(axis.bits));
    addValue(*e, "units", axis.units);
    addValue(*e, "decimalpl", std::to_string(axis.decimalpl));
    addValue(*e, "count", std::to_string(axis.count));
    addValue(*e, "outputtype", std::to_string(axis.outputtype));
    addValue(*e, "embeddedinfotype", std::to_string(axis.embeddedinfotype));
    if (axis.embeddedinfotype == SourceManual) {
        const int count = axis.count < kMaxLabels ? axis.count : kMaxLabels;
        for (int i = 0; i < count; ++i)
            addLabel(*e, i, axis.labels[i]);
    } else if (axis.embeddedinfotype == SourceScaled) {
        addLabel(*e, 0, axis.labels[0]);
        addLabel(*e, 1, axis.labels[1]);
    }
    addValue(*e, "factor", realText(axis.factor));
    addValue(*e, "offset", realText(axis.offset));
}

} // namespace

std::string mapsFileText(const DefinitionStore& store)
{
    TiXmlDocument doc;
    doc.LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    TiXmlElement* root = addElement(doc, "XTS");
    root->SetAttribute("version", "1.0");

    TiXmlElement* header = addElement(*root, "HEADER");
    addValue(*header, "flags", hexText(store.header.flags));
    addValue(*header, "fileversion", store.header.fileversion);
    addValue(*header, "title", store.header.title);
    addValue(*header, "description", store.header.description);
    addValue(*header, "author", store.header.author);
    addValue(*header, "baseoffset", hexText(store.header.baseoffset));

    const int count = store.mapCount < kMaxMaps ? store.mapCount : kMaxMaps;
    for (int m = 0; m < count; ++m) {
        const MapDefinition& map = store.maps[m];
        TiXmlElement* table = addElement(*root, "TABLE");
        addValue(*table, "flags", hexText(map.flags));
        addValue(*table, "title", map.title);
        addValue(*table, "description", map.description);
        writeAxis(*table, map.axes[AxisX], "x");
        writeAxis(*table, map.axes[AxisY], "y");
        writeAxis(*table, map.axes[AxisZ], "z");
    }

    TiXmlElement* checksum = addElement(*root, "CHECKSUM");
    addValue(*checksum, "title", store.checksum.title);
    addValue(*checksum, "pluginid", std::to_string(store.checksum.pluginid));

    TiXmlPrinter printer;
    doc.Accept(&printer);
    return printer.Str();
}

MapsFileStatus saveMapsFile(const DefinitionStore& store, const std::string& path)
{
    const std::string text = mapsFileText(store);
    return replaceFileContents(path, text.data(), text.size()) ? MapsFileStatus::Saved
                                                               : MapsFileStatus::SaveFailed;
}
