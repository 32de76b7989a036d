#include "definitions/xdf_complete_import.h"

#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <tinyxml.h>

#include "common/linear_equation.h"
#include "common/number_text.h"
#include "definitions/definition_xml.h"
#include "definitions/xdf_sections.h"

namespace {

// The table elements read here are the same in all four.
constexpr const char* kVersions[] = {"1.50", "1.60", "1.70", "1.80"};

// A cell type flag word: the store's axis flag bits 0 to 2 (signed, least
// significant byte first, column by column), and floating-point cells.
constexpr std::uint64_t kStoreFlagBits = AxisSigned | AxisLsbFirst | AxisDataOrderXY;
constexpr std::uint64_t kFloatCells = 0x10000;

// Axes without an address carry this major stride; it means nothing.
constexpr std::int64_t kNoStride = -32;

// A number that is all of the attribute's text: in `base` (decimal unless
// said), or hexadecimal after 0x. Anything else (a blank, a sign, trailing
// letters) is no number. Addresses and flag words are hexadecimal with or
// without 0x: "4000" is 0x4000.
bool wholeUnsigned(const char* text, std::uint64_t& value, int base = 10)
{
    if (!text)
        return false;
    std::string_view s(text);
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        s.remove_prefix(2);
        base = 16;
    }
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    return !s.empty() && error == std::errc() && end == s.data() + s.size();
}

bool wholeSigned(const char* text, std::int64_t& value)
{
    if (!text)
        return false;
    const std::string_view s(text);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return !s.empty() && error == std::errc() && end == s.data() + s.size();
}

bool flagSet(const char* text) { return text && readUnsignedNotation(text) != 0; }

// An EMBEDDEDDATA element: where cells or axis values lie and how they are stored.
struct CellData {
    bool hasAddress = false;
    std::uint32_t address = 0;   // as written, before the base offset
    bool hasBits = false;
    std::uint64_t bits = 0;      // 0 when the text is no number
    bool hasFlags = false;
    bool flagsRead = true;
    std::uint64_t flags = 0;
    bool hasRows = false, hasCols = false;
    unsigned long rows = 1, cols = 1;
    bool stridesRead = true;
    std::int64_t major = 0, minor = 0;
};

CellData readCellData(const TiXmlElement& e)
{
    CellData d;
    std::uint64_t address = 0;
    d.hasAddress = wholeUnsigned(e.Attribute("mmedaddress"), address, 16) && address <= UINT32_MAX;
    d.address = static_cast<std::uint32_t>(address);
    if (const char* bits = e.Attribute("mmedelementsizebits")) {
        d.hasBits = true;
        if (!wholeUnsigned(bits, d.bits))
            d.bits = 0;
    }
    if (const char* flags = e.Attribute("mmedtypeflags")) {
        d.hasFlags = true;
        d.flagsRead = wholeUnsigned(flags, d.flags, 16);
    }
    if (const char* rows = e.Attribute("mmedrowcount")) {
        d.hasRows = true;
        d.rows = readUnsignedNotation(rows);
    }
    if (const char* cols = e.Attribute("mmedcolcount")) {
        d.hasCols = true;
        d.cols = readUnsignedNotation(cols);
    }
    for (auto [name, stride] : {std::pair{"mmedmajorstridebits", &d.major}, std::pair{"mmedminorstridebits", &d.minor}})
        if (const char* text = e.Attribute(name))
            d.stridesRead = wholeSigned(text, *stride) && d.stridesRead;
    return d;
}

// What the header says for cells whose own data does not, and the base
// offset added to every address.
struct FileContext {
    bool hasDefaultBits = false;
    std::uint64_t defaultBits = 0;
    std::uint64_t defaultFlags = 0;   // as a cell type flag word
    std::uint32_t baseOffset = 0;
    std::unordered_map<unsigned long, const TiXmlElement*> tables;   // by uniqueid, the first of each
};

void readHeaderContext(FileContext& context, DefinitionsHeader& header, const TiXmlElement& section)
{
    for (const TiXmlElement* e = section.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "baseoffset") {
            // Negative in some files: read modulo 2^32, so adding it subtracts.
            // All of the text counts here (the header field keeps its first
            // ten characters): "0x0000070000" must not move maps by 0x700.
            context.baseOffset = static_cast<std::uint32_t>(readUnsignedNotation(e->GetText()));
        } else if (name == "BASEOFFSET") {
            std::uint64_t offset = 0;
            if (!wholeUnsigned(e->Attribute("offset"), offset, 16))
                offset = 0;
            const auto low = static_cast<std::uint32_t>(offset);
            context.baseOffset = flagSet(e->Attribute("subtract")) ? 0u - low : low;
        } else if (name == "DEFAULTS") {
            if (const char* bits = e->Attribute("datasizeinbits")) {
                context.hasDefaultBits = true;
                context.defaultBits = readUnsignedNotation(bits);
            }
            context.defaultFlags = (flagSet(e->Attribute("signed")) ? AxisSigned : 0) |
                                   (flagSet(e->Attribute("lsbfirst")) ? AxisLsbFirst : 0) |
                                   (flagSet(e->Attribute("float")) ? kFloatCells : 0);
        }
    }
    header.baseoffset = context.baseOffset;
}

// Width and flags of cells stored as `data` says, the header's defaults
// filling in what it leaves out. `ok` when the store can read them: an
// address, 8, 16 or 32 bits, whole numbers.
struct Encoding {
    bool ok = false;
    std::uint16_t bits = 0;
    std::uint16_t flags = 0;   // store flag bits 0 to 2
};

Encoding encodingOf(const CellData& data, const FileContext& context)
{
    const std::uint64_t bits = data.hasBits ? data.bits : context.hasDefaultBits ? context.defaultBits : 0;
    const std::uint64_t flags = data.hasFlags ? data.flags : context.defaultFlags;
    Encoding e;
    e.flags = static_cast<std::uint16_t>(flags & kStoreFlagBits);
    if (data.hasAddress && data.flagsRead && !(flags & kFloatCells) && bits <= 32 &&
        cellWidthBytes(static_cast<std::uint16_t>(bits)) != 0) {
        e.ok = true;
        e.bits = static_cast<std::uint16_t>(bits);
    }
    return e;
}

// The scaling an equation gives: a linear one as factor and offset
// (engineering = factor x (raw + offset)), anything else as 1 and 0.
struct Scaling {
    bool given = false;   // a MATH element was met
    std::optional<LinearEquation> linear;

    bool leftToTuner() const { return given && !linear; }
    void applyTo(AxisDefinition& axis) const
    {
        axis.factor = linear ? linear->a : 1.0;
        axis.offset = linear ? linear->b / linear->a : 0.0;
    }
};

Scaling readScaling(const TiXmlElement& math)
{
    // The cell's own variable is the one without a type; the others name
    // other memory or other tables.
    const TiXmlElement* variable = nullptr;
    for (const TiXmlElement* v = math.FirstChildElement("VAR"); v; v = v->NextSiblingElement("VAR")) {
        if (!v->Attribute("type")) {
            variable = v;
            break;
        }
        if (!variable)
            variable = v;
    }
    const char* name = variable ? variable->Attribute("id") : "X";
    const char* equation = math.Attribute("equation");
    Scaling s;
    s.given = true;
    if (equation && name)
        s.linear = linearEquation(equation, name);
    return s;
}

// What the import reads of one axis of a table, beyond what the plain import
// reads. A repeated axis element adds to it, later values winning.
struct AxisFacts {
    CellData data;
    bool hasIndexCount = false;
    std::uint16_t indexCount = 0;   // as the store takes it: cut to 16 bits
    bool indexCountFits = true;     // the file's count is that number
    unsigned long embedType = 0;
    const char* linkId = nullptr;
    Scaling scaling;
};

void readAxisFacts(AxisFacts& facts, const TiXmlElement& axis)
{
    for (const TiXmlElement* e = axis.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "EMBEDDEDDATA") {
            facts.data = readCellData(*e);
        } else if (name == "indexcount") {
            facts.hasIndexCount = true;
            facts.indexCount = elementInt(*e);
            std::string buffer;
            const char* text = numberText(*e, buffer);
            const long long count = text ? std::strtoll(text, nullptr, 10) : 0;
            facts.indexCountFits = count >= 0 && count <= UINT16_MAX;
        } else if (name == "embedinfo") {
            if (const char* type = e->Attribute("type"))
                facts.embedType = readUnsignedNotation(type);
            if (const char* link = e->Attribute("linkobjid"))
                facts.linkId = link;
        } else if (name == "MATH") {
            facts.scaling = readScaling(*e);
        }
    }
}

struct TableFacts {
    AxisFacts axes[3];
    unsigned long countX = 1, countY = 1;
    bool countsAgree = true;   // the cells' own row and column counts, where given, are the axes'
};

// The facts of tables that axes link to, each read once: many axes may link
// to one table, which may be long.
using LinkedFacts = std::unordered_map<const TiXmlElement*, TableFacts>;

TableFacts readTableFacts(const TiXmlElement& table)
{
    TableFacts t;
    for (const TiXmlElement* e = table.FirstChildElement("XDFAXIS"); e; e = e->NextSiblingElement("XDFAXIS"))
        readAxisFacts(t.axes[axisOfId(e->Attribute("id"))], *e);
    const AxisFacts& x = t.axes[AxisX];
    const AxisFacts& y = t.axes[AxisY];
    const CellData& z = t.axes[AxisZ].data;
    t.countX = x.hasIndexCount ? x.indexCount : z.hasCols ? z.cols : 1;
    t.countY = y.hasIndexCount ? y.indexCount : z.hasRows ? z.rows : 1;
    t.countsAgree = !(x.hasIndexCount && z.hasCols && z.cols != t.countX) &&
                    !(y.hasIndexCount && z.hasRows && z.rows != t.countY) && x.indexCountFits && y.indexCountFits;
    return t;
}

// Where a table's cells lie, when the store can show them right.
struct Placement {
    bool ok = false;
    std::uint32_t address = 0;
    std::uint16_t bits = 0;
    std::uint16_t flags = 0;
};

// Rows follow each other with no gap (columns, when stored column by
// column), and cells within them too.
bool packed(const CellData& d, unsigned long countX, unsigned long countY, std::uint16_t bits, bool byColumn)
{
    const std::uint64_t lines = byColumn ? countX : countY;
    const std::int64_t lineBits = static_cast<std::int64_t>(byColumn ? countY : countX) * bits;
    return d.stridesRead && (d.major == 0 || lines == 1 || d.major == lineBits) && (d.minor == 0 || d.minor == bits);
}

Placement tableCells(const TableFacts& t, const FileContext& context)
{
    const CellData& data = t.axes[AxisZ].data;
    const Encoding encoding = encodingOf(data, context);
    Placement p;
    p.flags = encoding.flags;
    if (encoding.ok && t.countsAgree && t.countX <= UINT16_MAX && t.countY <= UINT16_MAX &&
        packed(data, t.countX, t.countY, encoding.bits, encoding.flags & AxisDataOrderXY)) {
        p.ok = true;
        p.address = data.address + context.baseOffset;
        p.bits = encoding.bits;
    }
    return p;
}

// An X or Y axis whose values the store reads from the image: its own
// (embedinfo type 1 with an address), or a linked table's one row or column
// of cells (type 3). Anything else keeps its labels.
struct StoredAxis {
    Placement placement;
    Scaling scaling;
};

StoredAxis storedAxis(const AxisFacts& facts, std::uint16_t count, const FileContext& context, LinkedFacts& linkedFacts)
{
    StoredAxis s;
    if (!facts.indexCountFits)
        return s;
    if (facts.embedType == 1) {
        CellData d = facts.data;
        const Encoding encoding = encodingOf(d, context);
        const std::int64_t bits = encoding.bits;
        if (d.major == kNoStride)
            d.major = 0;
        // The values form one row or one column, as their counts tell: laid
        // out as a table of that shape. Without counts they may be either, so
        // the major stride must fit both.
        bool contiguous = false;
        if (d.rows > 1 || d.cols > 1)
            contiguous = (d.rows <= 1 || d.cols <= 1) && d.rows * d.cols >= count &&
                         packed(d, d.cols, d.rows, encoding.bits, encoding.flags & AxisDataOrderXY);
        else
            contiguous = d.stridesRead && (d.minor == 0 || d.minor == bits) &&
                         (d.major == 0 || d.major == bits || d.major == count * bits);
        if (encoding.ok && contiguous) {
            s.placement = {true, d.address + context.baseOffset, encoding.bits,
                           static_cast<std::uint16_t>(encoding.flags & (AxisSigned | AxisLsbFirst))};
            s.scaling = facts.scaling;
        }
    } else if (facts.embedType == 3 && facts.linkId) {
        const auto linked = context.tables.find(readUnsignedNotation(facts.linkId));
        if (linked == context.tables.end())
            return s;
        auto known = linkedFacts.find(linked->second);
        if (known == linkedFacts.end())
            known = linkedFacts.emplace(linked->second, readTableFacts(*linked->second)).first;
        const TableFacts& t = known->second;
        const Placement cells = tableCells(t, context);
        if (cells.ok && (t.countX == 1 || t.countY == 1) && t.countX * t.countY >= count) {
            s.placement = cells;
            s.placement.flags &= AxisSigned | AxisLsbFirst;
            s.scaling = t.axes[AxisZ].scaling;
        }
    }
    return s;
}

struct Tally {
    int needScaling = 0;
    int needAddress = 0;
};

void importTable(MapDefinition& map, const TiXmlElement& table, const FileContext& context, LinkedFacts& linkedFacts,
                 Tally& tally)
{
    map = MapDefinition{};
    readXdfTable(map, table);
    const TableFacts t = readTableFacts(table);
    // A count the store cannot hold stays as the plain import reads it (no
    // cells follow from it either: see tableCells).
    if (t.countX <= UINT16_MAX)
        map.axes[AxisX].count = static_cast<std::uint16_t>(t.countX);
    if (t.countY <= UINT16_MAX)
        map.axes[AxisY].count = static_cast<std::uint16_t>(t.countY);

    AxisDefinition& z = map.axes[AxisZ];
    const Placement cells = tableCells(t, context);
    z.address = cells.address;
    z.bits = cells.bits;
    z.flags = cells.flags;
    t.axes[AxisZ].scaling.applyTo(z);
    bool scalingLeft = t.axes[AxisZ].scaling.leftToTuner();

    for (AxisIndex which : {AxisX, AxisY}) {
        AxisDefinition& axis = map.axes[which];
        const AxisFacts& facts = t.axes[which];
        const StoredAxis stored = storedAxis(facts, axis.count, context, linkedFacts);
        if (stored.placement.ok) {
            axis.embeddedinfotype = SourceEmbedded;
            axis.address = stored.placement.address;
            axis.bits = stored.placement.bits;
            axis.flags = stored.placement.flags;
            stored.scaling.applyTo(axis);
            scalingLeft = scalingLeft || stored.scaling.leftToTuner();
        } else {
            axis.embeddedinfotype = SourceManual;   // its labels, whatever its type said
            facts.scaling.applyTo(axis);
        }
    }
    tally.needAddress += !cells.ok;
    tally.needScaling += scalingLeft;
}

CellData constantData(const TiXmlElement& constant)
{
    CellData data;
    for (const TiXmlElement* e = constant.FirstChildElement("EMBEDDEDDATA"); e;
         e = e->NextSiblingElement("EMBEDDEDDATA"))
        data = readCellData(*e);
    return data;
}

// One value: a 1 x 1 map whose cell is the constant.
void importConstant(MapDefinition& map, const TiXmlElement& constant, const CellData& data,
                    const FileContext& context, Tally& tally)
{
    map = MapDefinition{};
    AxisDefinition& z = map.axes[AxisZ];
    Scaling scaling;
    for (const TiXmlElement* e = constant.FirstChildElement(); e; e = e->NextSiblingElement()) {
        const std::string& name = e->ValueStr();
        if (name == "title")
            map.title = elementText(*e);
        else if (name == "description")
            map.description = elementText(*e);
        else if (name == "units")
            z.units = elementText(*e);
        else if (name == "decimalpl")
            z.decimalpl = elementInt(*e);
        else if (name == "outputtype")
            z.outputtype = elementInt(*e);
        else if (name == "MATH")
            scaling = readScaling(*e);
    }
    for (AxisIndex which : {AxisX, AxisY}) {
        AxisDefinition& axis = map.axes[which];
        axis.id.assign(1, which == AxisX ? 'x' : 'y');   // (a literal here trips GCC 12's -Wrestrict)
        axis.count = 1;
        axis.factor = 1.0;
    }
    z.id.assign(1, 'z');
    const Encoding encoding = encodingOf(data, context);
    z.flags = encoding.flags & (AxisSigned | AxisLsbFirst);
    if (encoding.ok) {
        z.address = data.address + context.baseOffset;
        z.bits = encoding.bits;
    }
    scaling.applyTo(z);
    tally.needAddress += !encoding.ok;
    tally.needScaling += scaling.leftToTuner();
}

// The store's slots are the one limit on what an import can hold.
bool slotLeft(const DefinitionStore& store) { return store.mapCount < kMaxMaps; }

XdfCompleteImport importBytes(DefinitionStore& store, std::string& bytes)
{
    XdfCompleteImport result;
    TiXmlDocument doc;
    const TiXmlElement* root = nullptr;
    const SectionsRead opened = openDefinitionRoot(doc, bytes, store, kVersions, root);
    if (opened != SectionsRead::Loaded) {
        result.status = sectionsStatus<XdfImportStatus>(opened);
        return result;
    }

    // Tables link to tables anywhere in the file, and the header's defaults
    // and offset hold for all: gather the sections first.
    store.mapCount = 0;
    FileContext context;
    std::vector<const TiXmlElement*> tables;
    std::vector<const TiXmlElement*> constants;
    for (const TiXmlElement* section = firstSection(*root); section; section = section->NextSiblingElement()) {
        const std::string& name = section->ValueStr();
        if (name == "XDFHEADER") {
            readXdfHeader(store.header, *section);
            readHeaderContext(context, store.header, *section);
        } else if (name == "XDFTABLE") {
            tables.push_back(section);
            if (const char* id = section->Attribute("uniqueid"))
                context.tables.emplace(readUnsignedNotation(id), section);
        } else if (name == "XDFCONSTANT") {
            constants.push_back(section);
        } else if (name == "XDFCHECKSUM") {
            readXdfChecksum(store.checksum, *section);
        }
    }

    Tally tally;
    LinkedFacts linkedFacts;
    for (const TiXmlElement* table : tables) {
        if (!slotLeft(store)) {
            ++result.droppedTables;
            continue;
        }
        importTable(store.maps[store.mapCount], *table, context, linkedFacts, tally);
        ++store.mapCount;
    }
    for (const TiXmlElement* constant : constants) {
        const CellData data = constantData(*constant);
        if (!data.hasAddress)
            continue;
        if (!slotLeft(store)) {
            ++result.droppedConstants;
            continue;
        }
        importConstant(store.maps[store.mapCount], *constant, data, context, tally);
        ++store.mapCount;
    }
    result.status = result.droppedTables || result.droppedConstants ? XdfImportStatus::LoadedToLimit
                                                                    : XdfImportStatus::Loaded;
    result.maps = store.mapCount;
    result.needScaling = tally.needScaling;
    result.needAddress = tally.needAddress;
    return result;
}

std::string count(int n)
{
    std::string text;
    appendInteger(text, n);
    return text;
}

// "; 2 need their scaling and 3 their address set by hand"
void appendHandWork(StatusText& text, const XdfCompleteImport& r)
{
    if (r.needScaling) {
        text.fixed("; ").literal(count(r.needScaling));
        text.fixed(r.needScaling == 1 ? " needs its scaling" : " need their scaling");
        if (r.needAddress)
            text.fixed(" and ").literal(count(r.needAddress)).fixed(r.needAddress == 1 ? " its address" : " their address");
        text.fixed(" set by hand");
    } else if (r.needAddress) {
        text.fixed("; ").literal(count(r.needAddress));
        text.fixed(r.needAddress == 1 ? " needs its address set by hand" : " need their address set by hand");
    }
}

} // namespace

XdfCompleteImport importCompleteXdfText(DefinitionStore& store, const char* data, std::size_t size)
{
    std::string bytes(data, size);
    return importBytes(store, bytes);
}

XdfCompleteImport importCompleteXdfFile(DefinitionStore& store, const std::string& path)
{
    std::string bytes;
    if (readDefinitionFile(path, bytes) != FileBytes::Read)
        return {};
    return importBytes(store, bytes);
}

StatusText xdfCompleteImportMessage(const XdfCompleteImport& r)
{
    StatusText text;
    switch (r.status) {
    case XdfImportStatus::Loaded:
        text.fixed("Definitions file loaded: ").literal(count(r.maps)).fixed(r.maps == 1 ? " map" : " maps");
        appendHandWork(text, r);
        text.fixed(".");
        return text;
    case XdfImportStatus::LoadedToLimit:
        text.fixed(xdfImportStatusMessage(r.status)).fixed(" ");
        if (r.droppedTables)
            text.literal(count(r.droppedTables)).fixed(r.droppedTables == 1 ? " table" : " tables");
        if (r.droppedTables && r.droppedConstants)
            text.fixed(" and ");
        if (r.droppedConstants)
            text.literal(count(r.droppedConstants)).fixed(r.droppedConstants == 1 ? " constant" : " constants");
        text.fixed(" did not fit");
        appendHandWork(text, r);
        text.fixed(".");
        return text;
    default:
        return StatusText(xdfImportStatusMessage(r.status));
    }
}
