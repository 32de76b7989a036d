#include "definitions/maps_file.h"

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
        else if (name == "factor")
            axis.factor = elementReal(*e, 1.0);
        else if (name == "offset")
            axis.offset = elementReal(*e, 0.0);
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

std::string hexText(std::uint32_t value)
{
    return "0x" + formatHex(value);
}

TiXmlElement* addElement(TiXmlNode& parent, const char* name)
{
    auto* e = new TiXmlElement(name);
    parent.LinkEndChild(e);
    return e;
}

// Every value element gets a text node, even an empty one; the library
// escapes what XML needs escaped. A character XML cannot carry at all (a
// control character, say, from an older file) is written as U+FFFD, so the
// file stays readable by any XML reader.
void addValue(TiXmlNode& parent, const char* name, const std::string& text)
{
    addElement(parent, name)->LinkEndChild(new TiXmlText(xml10Text(text)));
}

void addLabel(TiXmlNode& parent, int index, double value)
{
    TiXmlElement* e = addElement(parent, "embeddedinfolabel");
    e->SetAttribute("index", std::to_string(index));
    e->SetAttribute("value", realNotationText(value));
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
    addValue(*e, "factor", realNotationText(axis.factor));
    addValue(*e, "offset", realNotationText(axis.offset));
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
