#include "definitions/xdf_import.h"

#include <cstdint>
#include <cstring>

#include <tinyxml.h>

#include "definitions/definition_xml.h"
#include "definitions/xdf_sections.h"

static_assert(kMaxMaps == 65535, "the message names the limit");

const char* xdfImportStatusMessage(XdfImportStatus status)
{
    switch (status) {
    case XdfImportStatus::Loaded: return "Definitions file loaded.";
    case XdfImportStatus::LoadedToLimit: return "Only the first 65535 maps were loaded.";
    case XdfImportStatus::Unreadable: return "Unable to open definitions file!";
    case XdfImportStatus::Corrupted: return "The definitions file is corrupted!";
    case XdfImportStatus::IncompatibleVersion: return "The definitions file version is not compatible!";
    }
    return "";
}

namespace {

void readXdfAxis(AxisDefinition& axis, AxisIndex which, const TiXmlElement& section)
{
    for (const TiXmlElement* e = section.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "LABEL") {
            readLabel(axis, *e);
        } else if (name == "units") {
            axis.units = elementText(*e);
        } else if (name == "decimalpl") {
            axis.decimalpl = elementInt(*e);
        } else if (name == "indexcount") {
            if (which != AxisZ)   // the cell count comes from X and Y
                axis.count = elementInt(*e);
        } else if (name == "outputtype") {
            axis.outputtype = elementInt(*e);
        } else if (name == "embedinfo") {
            if (const char* type = e->Attribute("type"))
                axis.embeddedinfotype = static_cast<std::uint16_t>(readUnsignedNotation(type));
        } else if (name == "MATH") {
            // The equation is not taken over; the map editor sets the scaling.
            axis.factor = 1.0;
            axis.offset = 0.0;
        }
    }
}

} // namespace

void readXdfTable(MapDefinition& map, const TiXmlElement& section)
{
    for (const TiXmlElement* e = section.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "title") {
            map.title = elementText(*e);
        } else if (name == "description") {
            map.description = elementText(*e);
        } else if (name == "XDFAXIS") {
            const char* id = e->Attribute("id");
            const AxisIndex which = axisOfId(id);
            map.axes[which].id = parsedText(id);
            readXdfAxis(map.axes[which], which, *e);
        }
    }
}

void readXdfHeader(DefinitionsHeader& header, const TiXmlElement& section)
{
    for (const TiXmlElement* e = section.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "fileversion")
            header.fileversion = elementText(*e);
        else if (name == "deftitle")
            header.title = elementText(*e);
        else if (name == "description")
            header.description = elementText(*e);
        else if (name == "author")
            header.author = elementText(*e);
        else if (name == "baseoffset")
            header.baseoffset = elementHex(*e);
    }
}

namespace {

// The checksum plug-in's number is carried in the last three characters of
// a module identifier with a fixed prefix; any other identifier means 0.
std::uint16_t pluginNumber(const char* moduleId)
{
    static constexpr char kPrefix[] = "9b6fa911-da49-1953-b6c0-1c7d3a9cf";
    constexpr std::size_t kPrefixLength = sizeof kPrefix - 1;
    if (!moduleId || std::strncmp(moduleId, kPrefix, kPrefixLength) != 0)
        return 0;
    const std::size_t length = std::strlen(moduleId);
    return readIntNotation(moduleId + length - 3);
}

} // namespace

void readXdfChecksum(ChecksumDefinition& checksum, const TiXmlElement& section)
{
    for (const TiXmlElement* e = section.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "title") {
            checksum.title = elementText(*e);
        } else if (name == "REGION") {
            for (const TiXmlElement* r = e->FirstChildElement("pluginmoduleid"); r;
                 r = r->NextSiblingElement("pluginmoduleid")) {
                std::string buffer;
                checksum.pluginid = pluginNumber(numberText(*r, buffer));
            }
        }
    }
}

namespace {

const DefinitionFormat kXdfFormat = {"1.50", "XDFHEADER", "XDFTABLE", "XDFCHECKSUM", readXdfHeader, readXdfTable,
                                     readXdfChecksum};

XdfImportStatus importBytes(DefinitionStore& store, std::string& bytes)
{
    return sectionsStatus<XdfImportStatus>(readDefinitionSections(store, bytes, kXdfFormat));
}

} // namespace

XdfImportStatus importXdfText(DefinitionStore& store, const char* data, std::size_t size)
{
    std::string bytes(data, size);
    return importBytes(store, bytes);
}

XdfImportStatus importXdfFile(DefinitionStore& store, const std::string& path)
{
    std::string bytes;
    if (readDefinitionFile(path, bytes) != FileBytes::Read)
        return XdfImportStatus::Unreadable;
    return importBytes(store, bytes);
}
