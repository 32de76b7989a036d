#include "definitions/maps_file.h"

#include <cmath>
#include <cstdint>

#include <tinyxml.h>

#include "common/hex_format.h"
#include "common/number_notation.h"
#include "common/safe_file.h"
#include "common/text_encoding.h"
#include "definitions/definition_xml.h"

static_assert(kMaxMaps == 65535, "the message names the limit");

const char* mapsFileStatusMessage(MapsFileStatus status)
{
    switch (status) {
    case MapsFileStatus::Loaded: return "";
    case MapsFileStatus::LoadedToLimit: return "Only the first 65535 maps were loaded.";
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

// ---------------------------------------------------------------- reading

double finiteOr(double value, double otherwise)
{
    return std::isfinite(value) ? value : otherwise;
}

void readAxis(AxisDefinition& axis, const TiXmlElement& section)
{
    for (const TiXmlElement* e = section.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "embeddedinfolabel")
            readLabel(axis, *e);
        else if (name == "flags")
            axis.flags = static_cast<std::uint16_t>(elementHex(*e));
        else if (name == "address")
            axis.address = elementHex(*e);
        else if (name == "bits")
            axis.bits = elementInt(*e);
        else if (name == "units")
            axis.units = elementText(*e);
        else if (name == "decimalpl")
            axis.decimalpl = elementInt(*e);
        else if (name == "count")
            axis.count = elementInt(*e);
        else if (name == "outputtype")
            axis.outputtype = elementInt(*e);
        else if (name == "embeddedinfotype")
            axis.embeddedinfotype = elementInt(*e);
        // "nan" or "inf" is no scaling: every cell would read it, and a value
        // typed into one would store 0 over its bytes.
        else if (name == "factor")
            axis.factor = finiteOr(elementReal(*e, 1.0), 1.0);
        else if (name == "offset")
            axis.offset = finiteOr(elementReal(*e, 0.0), 0.0);
    }
}

void readTable(MapDefinition& map, const TiXmlElement& section)
{
    for (const TiXmlElement* e = section.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "flags") {
            map.flags = static_cast<std::uint16_t>(elementHex(*e));
        } else if (name == "title") {
            map.title = elementText(*e);
        } else if (name == "description") {
            map.description = elementText(*e);
        } else if (name == "AXIS") {
            const char* id = e->Attribute("id");
            AxisDefinition& axis = map.axes[axisOfId(id)];
            axis.id = parsedText(id);
            readAxis(axis, *e);
        }
    }
}

void readHeader(DefinitionsHeader& header, const TiXmlElement& section)
{
    for (const TiXmlElement* e = section.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "flags")
            header.flags = static_cast<std::uint16_t>(elementHex(*e));
        else if (name == "fileversion")
            header.fileversion = elementText(*e);
        else if (name == "title")
            header.title = elementText(*e);
        else if (name == "description")
            header.description = elementText(*e);
        else if (name == "author")
            header.author = elementText(*e);
        else if (name == "baseoffset")
            header.baseoffset = elementHex(*e);
    }
}

void readChecksum(ChecksumDefinition& checksum, const TiXmlElement& section)
{
    for (const TiXmlElement* e = section.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "title")
            checksum.title = elementText(*e);
        else if (name == "pluginid")
            checksum.pluginid = elementInt(*e);
    }
}

const DefinitionFormat kMapsFormat = {"1.0", "HEADER", "TABLE", "CHECKSUM", readHeader, readTable, readChecksum};

MapsFileStatus loadBytes(DefinitionStore& store, std::string& bytes)
{
    return sectionsStatus<MapsFileStatus>(readDefinitionSections(store, bytes, kMapsFormat));
}

} // namespace

MapsFileStatus loadMapsText(DefinitionStore& store, const char* data, std::size_t size)
{
    std::string bytes(data, size);
    return loadBytes(store, bytes);
}

MapsFileStatus loadMapsFile(DefinitionStore& store, const std::string& path)
{
    std::string bytes;
    switch (readDefinitionFile(path, bytes)) {
    case FileBytes::Missing: return MapsFileStatus::NotFound;
    case FileBytes::Unreadable: return MapsFileStatus::Unreadable;
    case FileBytes::Read: break;
    }
    return loadBytes(store, bytes);
}

// ---------------------------------------------------------------- writing

namespace {

// Writes the document laid out as the XML library's printer lays out the
// document it builds (the file format has always been that layout): four
// blanks per level, one element per line, a value inline between its tags,
// texts escaped by the library's own function. Written straight into the
// text, which takes a quarter of the time of building the library's
// document and printing it, for thousands of maps.
class MapsWriter {
public:
    explicit MapsWriter(std::string& out) : m_out(out) {}

    // An element with children, and one attribute if `attribute` is given.
    void open(const char* name, const char* attribute = nullptr, const char* value = nullptr)
    {
        indent();
        m_out += '<';
        m_out += name;
        if (attribute) {
            m_out += ' ';
            m_out += attribute;
            m_out += "=\"";
            m_out += value;
            m_out += '"';
        }
        m_out += ">\n";
        ++m_depth;
    }

    void close(const char* name)
    {
        --m_depth;
        indent();
        m_out += "</";
        m_out += name;
        m_out += ">\n";
    }

    // A character XML cannot carry at all (a control character, say, from an
    // older file) is written as U+FFFD, so the file stays readable by any XML
    // reader; an empty text still gets its end tag.
    void text(const char* name, const std::string& text)
    {
        start(name);
        TiXmlBase::EncodeString(xml10Text(text), &m_out);
        end(name);
    }

    // Numbers hold nothing that XML escapes.
    void number(const char* name, const std::string& digits)
    {
        start(name);
        m_out += digits;
        end(name);
    }

    void hex(const char* name, std::uint32_t value) { number(name, "0x" + formatHex(value)); }

    void label(int index, double value)
    {
        indent();
        m_out += "<embeddedinfolabel index=\"";
        m_out += std::to_string(index);
        m_out += "\" value=\"";
        m_out += realNotationText(value);
        m_out += "\" />\n";
    }

private:
    void indent() { m_out.append(4 * static_cast<std::size_t>(m_depth), ' '); }

    void start(const char* name)
    {
        indent();
        m_out += '<';
        m_out += name;
        m_out += '>';
    }

    void end(const char* name)
    {
        m_out += "</";
        m_out += name;
        m_out += ">\n";
    }

    std::string& m_out;
    int m_depth = 0;
};

void writeAxis(MapsWriter& w, const AxisDefinition& axis, const char* id)
{
    w.open("AXIS", "id", id);
    w.hex("flags", axis.flags);
    w.hex("address", axis.address);
    w.number("bits", std::to_string(axis.bits));
    w.text("units", axis.units);
    w.number("decimalpl", std::to_string(axis.decimalpl));
    w.number("count", std::to_string(axis.count));
    w.number("outputtype", std::to_string(axis.outputtype));
    w.number("embeddedinfotype", std::to_string(axis.embeddedinfotype));
    if (axis.embeddedinfotype == SourceManual) {
        const int count = axis.count < kMaxLabels ? axis.count : kMaxLabels;
        for (int i = 0; i < count; ++i)
            w.label(i, axis.labels[i]);
    } else if (axis.embeddedinfotype == SourceScaled) {
        w.label(0, axis.labels[0]);
        w.label(1, axis.labels[1]);
    }
    w.number("factor", realNotationText(axis.factor));
    w.number("offset", realNotationText(axis.offset));
    w.close("AXIS");
}

} // namespace

std::string mapsFileText(const DefinitionStore& store)
{
    const int count = store.mapCount < kMaxMaps ? store.mapCount : kMaxMaps;
    std::string text = "<?xml version=\"1.0\" ?>\n";
    MapsWriter w(text);
    w.open("XTS", "version", "1.0");

    w.open("HEADER");
    w.hex("flags", store.header.flags);
    w.text("fileversion", store.header.fileversion);
    w.text("title", store.header.title);
    w.text("description", store.header.description);
    w.text("author", store.header.author);
    w.hex("baseoffset", store.header.baseoffset);
    w.close("HEADER");

    for (int m = 0; m < count; ++m) {
        const MapDefinition& map = store.maps[m];
        w.open("TABLE");
        w.hex("flags", map.flags);
        w.text("title", map.title);
        w.text("description", map.description);
        writeAxis(w, map.axes[AxisX], "x");
        writeAxis(w, map.axes[AxisY], "y");
        writeAxis(w, map.axes[AxisZ], "z");
        w.close("TABLE");
    }

    w.open("CHECKSUM");
    w.text("title", store.checksum.title);
    w.number("pluginid", std::to_string(store.checksum.pluginid));
    w.close("CHECKSUM");
    w.close("XTS");
    return text;
}

MapsFileStatus saveMapsFile(const DefinitionStore& store, const std::string& path)
{
    const std::string text = mapsFileText(store);
    return replaceFileContents(path, text.data(), text.size()) ? MapsFileStatus::Saved
                                                               : MapsFileStatus::SaveFailed;
}
