#include "definitions/xdf_import.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "test_support.h"

namespace {

// Every field set, and different from anything the tests import.
std::unique_ptr<DefinitionStore> oldStore()
{
    auto s = std::make_unique<DefinitionStore>();
    s->mapCount = 5;
    s->formatVersion = "old";
    s->header = {0x77, "old version", "old header", "old description", "old author", 0x4242};
    s->checksum = {"old checksum", 55};
    for (int m = 0; m < kMaxMaps; ++m) {
        MapDefinition& map = s->maps[m];
        map = {0x11, "old " + std::to_string(m), "old description", {}};
        for (int a = 0; a < 3; ++a) {
            map.axes[a] = {"old id", 0x5, 0xABC0u + a, 99, "old", 7, 77, 9, 6, {}, 99.0, -99.0};
            map.axes[a].labels.fill(-99.0);
        }
    }
    return s;
}

void expectSameAxis(const AxisDefinition& p, const AxisDefinition& q)
{
    EXPECT_EQ(p.id, q.id);
    EXPECT_EQ(std::vector<std::uint32_t>({p.flags, p.address, p.bits, p.decimalpl, p.count, p.outputtype,
                                          p.embeddedinfotype}),
              std::vector<std::uint32_t>({q.flags, q.address, q.bits, q.decimalpl, q.count, q.outputtype,
                                          q.embeddedinfotype}))
        << "flags, address, bits, decimalpl, count, outputtype, embeddedinfotype";
    EXPECT_EQ(p.units, q.units);
    EXPECT_EQ(p.labels, q.labels);
    EXPECT_EQ(p.factor, q.factor);
    EXPECT_EQ(p.offset, q.offset);
}

// Compares every field of the two stores, free slots included.
void expectSameStore(const DefinitionStore& a, const DefinitionStore& b)
{
    EXPECT_EQ(a.mapCount, b.mapCount);
    EXPECT_EQ(a.formatVersion, b.formatVersion);
    EXPECT_EQ(a.header.flags, b.header.flags);
    EXPECT_EQ(a.header.fileversion, b.header.fileversion);
    EXPECT_EQ(a.header.title, b.header.title);
    EXPECT_EQ(a.header.description, b.header.description);
    EXPECT_EQ(a.header.author, b.header.author);
    EXPECT_EQ(a.header.baseoffset, b.header.baseoffset);
    EXPECT_EQ(a.checksum.title, b.checksum.title);
    EXPECT_EQ(a.checksum.pluginid, b.checksum.pluginid);
    for (int m = 0; m < kMaxMaps; ++m) {
        SCOPED_TRACE("slot " + std::to_string(m));
        EXPECT_EQ(a.maps[m].flags, b.maps[m].flags);
        EXPECT_EQ(a.maps[m].title, b.maps[m].title);
        EXPECT_EQ(a.maps[m].description, b.maps[m].description);
        for (int x = 0; x < 3; ++x) {
            SCOPED_TRACE("axis " + std::to_string(x));
            expectSameAxis(a.maps[m].axes[x], b.maps[m].axes[x]);
        }
    }
}

std::string xdf(const std::string& body, const std::string& version = "1.50")
{
    return "<XDFFORMAT version=\"" + version + "\">" + body + "</XDFFORMAT>";
}

const std::string kPluginPrefix = "9b6fa911-da49-1953-b6c0-1c7d3a9cf";

std::string checksumWithModule(const std::string& moduleId)
{
    return xdf("<XDFCHECKSUM><REGION><datastart>0x0</datastart><pluginmoduleid>" + moduleId +
               "</pluginmoduleid></REGION></XDFCHECKSUM>");
}

} // namespace

// A file in the shape of a real 1.50 export: Windows-1252 bytes, CR LF, a
// comment before the root and no declaration; header defaults, regions and
// categories, constants and flags, embedded data, math with variables, label
// runs and category memberships. Everything not imported must stay as it was.
TEST(XdfImport, RealisticExportSetsExactlyTheImportedFields)
{
    auto store = oldStore();
    const std::string path = (std::filesystem::path(__FILE__).parent_path() / "data" / "export_150.xdf").string();
    ASSERT_EQ(importXdfFile(*store, path), XdfImportStatus::Loaded);

    auto expected = oldStore();
    DefinitionStore& e = *expected;
    e.mapCount = 3;
    e.formatVersion = "1.50";
    e.header = {0x77, "2.1", "1.8T petrol, 512 KiB", "Ignition and fuel maps für Prüfstand", "Bench & Road", 0x10000};
    e.checksum = {"Main ROM checksum", 12};

    MapDefinition& ignition = e.maps[0];
    ignition.title = "Ignition base";
    ignition.description = "Base ignition angle, part load";
    AxisDefinition* a = &ignition.axes[AxisX];
    a->id = "x"; a->units = "rpm"; a->count = 8; a->decimalpl = 0; a->outputtype = 2; a->embeddedinfotype = 1;
    const double rpm[] = {800, 1200, 1600, 2000, 2800, 3600, 4800, 6400};
    std::copy(std::begin(rpm), std::end(rpm), a->labels.begin());
    a->factor = 1.0; a->offset = 0.0;
    a = &ignition.axes[AxisY];
    a->id = "y"; a->units = "%"; a->count = 4; a->decimalpl = 1; a->outputtype = 1; a->embeddedinfotype = 2;
    a->labels[0] = 12.5; a->labels[1] = 37.5; a->labels[2] = 62.5; a->labels[3] = 87.5;
    a->factor = 1.0; a->offset = 0.0;
    a = &ignition.axes[AxisZ];
    a->id = "z"; a->units = "°KW"; a->decimalpl = 2; a->outputtype = 1; a->factor = 1.0; a->offset = 0.0;

    MapDefinition& lambda = e.maps[1];
    lambda.title = "Lambda target";
    lambda.description = "";
    a = &lambda.axes[AxisX];   // no MATH: the scaling stays
    a->id = "x"; a->units = "°C"; a->count = 3; a->embeddedinfotype = 3;
    a->labels[0] = -40; a->labels[1] = 20.5; a->labels[2] = 0;   // "cold" is no number
    a = &lambda.axes[AxisY];
    a->id = "y"; a->count = 1; a->decimalpl = 0; a->embeddedinfotype = 1;
    a = &lambda.axes[AxisZ];
    a->id = "z"; a->units = "Verhältnis"; a->decimalpl = 3; a->outputtype = 1; a->factor = 1.0; a->offset = 0.0;

    MapDefinition& idle = e.maps[2];   // no Y axis in the file
    idle.title = "Idle speed";
    idle.description = "Target idle over coolant temperature";
    a = &idle.axes[AxisX];
    a->id = "x"; a->units = "°C"; a->count = 2; a->embeddedinfotype = 2; a->labels[0] = -30; a->labels[1] = 90;
    a = &idle.axes[AxisZ];
    a->id = "z"; a->units = "rpm"; a->outputtype = 2;

    expectSameStore(*store, e);
}

TEST(XdfImport, Rules)
{
    using Check = std::function<void(const DefinitionStore&)>;
    const auto unchangedBut = [](const char* version) {
        return [version](const DefinitionStore& s) {
            EXPECT_EQ(s.formatVersion, version);
            EXPECT_EQ(s.mapCount, 5);
            EXPECT_EQ(s.maps[0].title, "old 0");
            EXPECT_EQ(s.header.title, "old header");
        };
    };
    const auto pluginId = [](int id) { return [id](const DefinitionStore& s) { EXPECT_EQ(s.checksum.pluginid, id); }; };
    std::string manyTables;
    for (int i = 0; i < kMaxMaps + 1; ++i)
        manyTables += "<XDFTABLE><title>t" + std::to_string(i) + "</title></XDFTABLE>";

    struct Row { const char* name; std::string text; XdfImportStatus status; Check check; };
    const Row rows[] = {
        {"version 1.60", xdf("<XDFTABLE><title>new</title></XDFTABLE>", "1.60"),
         XdfImportStatus::IncompatibleVersion, unchangedBut("1.60")},
        {"no version", "<XDFFORMAT><XDFTABLE/></XDFFORMAT>", XdfImportStatus::IncompatibleVersion, unchangedBut("")},
        {"not well-formed", "<XDFFORMAT version=\"1.50\"><XDFTABLE></XDFFORMAT>", XdfImportStatus::Unreadable,
         unchangedBut("old")},
        {"empty file", "", XdfImportStatus::Unreadable, unchangedBut("old")},
        {"no root element", "<!-- Written 01/01/2021 -->\n", XdfImportStatus::Corrupted, unchangedBut("old")},
        {"no tables", xdf("<XDFHEADER><deftitle>new</deftitle><flags>0x1</flags></XDFHEADER>"),
         XdfImportStatus::Loaded,
         [](const DefinitionStore& s) {
             EXPECT_EQ(s.mapCount, 0);
             EXPECT_EQ(s.header.title, "new");
             EXPECT_EQ(s.header.flags, 0x77);
         }},
        {"MATH sets factor 1 and offset 0; no MATH keeps them",
         xdf("<XDFTABLE><XDFAXIS id=\"x\"><MATH equation=\"X*3+7\"><VAR id=\"X\"/></MATH></XDFAXIS>"
             "<XDFAXIS id=\"y\"><units>u</units></XDFAXIS></XDFTABLE>"),
         XdfImportStatus::Loaded,
         [](const DefinitionStore& s) {
             EXPECT_EQ(s.maps[0].axes[AxisX].factor, 1.0);
             EXPECT_EQ(s.maps[0].axes[AxisX].offset, 0.0);
             EXPECT_EQ(s.maps[0].axes[AxisY].factor, 99.0);
             EXPECT_EQ(s.maps[0].axes[AxisY].offset, -99.0);
         }},
        {"indexcount for X and Y only; ids other than x and y select Z",
         xdf("<XDFTABLE><XDFAXIS id=\"x\"><indexcount>16</indexcount></XDFAXIS>"
             "<XDFAXIS id=\"y\"><indexcount>abc</indexcount></XDFAXIS>"
             "<XDFAXIS id=\"X\"><indexcount>40</indexcount><decimalpl>3</decimalpl></XDFAXIS></XDFTABLE>"),
         XdfImportStatus::Loaded,
         [](const DefinitionStore& s) {
             EXPECT_EQ(s.maps[0].axes[AxisX].count, 16);
             EXPECT_EQ(s.maps[0].axes[AxisY].count, 0);
             EXPECT_EQ(s.maps[0].axes[AxisZ].count, 77);
             EXPECT_EQ(s.maps[0].axes[AxisZ].decimalpl, 3);
             EXPECT_EQ(s.maps[0].axes[AxisZ].id, "X");
         }},
        {"embedinfo type notations; no type is skipped",
         xdf("<XDFTABLE><XDFAXIS id=\"x\"><embedinfo type=\"0x2\"/></XDFAXIS>"
             "<XDFAXIS id=\"y\"><embedinfo type=\"010\"/></XDFAXIS><XDFAXIS><embedinfo/></XDFAXIS></XDFTABLE>"),
         XdfImportStatus::Loaded,
         [](const DefinitionStore& s) {
             EXPECT_EQ(s.maps[0].axes[AxisX].embeddedinfotype, 2);
             EXPECT_EQ(s.maps[0].axes[AxisY].embeddedinfotype, 8);
             EXPECT_EQ(s.maps[0].axes[AxisZ].embeddedinfotype, 6);
             EXPECT_EQ(s.maps[0].axes[AxisZ].id, "");
         }},
        {"LABEL index forms, out of range and missing attributes",
         xdf("<XDFTABLE><XDFAXIS id=\"x\"><embedinfo type=\"1\"/><LABEL index=\"0x10\" value=\"1.5abc\"/>"
             "<LABEL index=\"255\" value=\"-2\"/><LABEL index=\"256\" value=\"5\"/><LABEL index=\"-1\" value=\"6\"/>"
             "<LABEL index=\"3\"/><LABEL value=\"4\"/></XDFAXIS></XDFTABLE>"),
         XdfImportStatus::Loaded,
         [](const DefinitionStore& s) {
             const auto& labels = s.maps[0].axes[AxisX].labels;
             EXPECT_EQ(labels[16], 1.5);
             EXPECT_EQ(labels[255], -2.0);
             EXPECT_EQ(labels[3], -99.0);
             EXPECT_EQ(labels[0], -99.0);
         }},
        {"plug-in number", checksumWithModule(kPluginPrefix + "007"), XdfImportStatus::Loaded, pluginId(7)},
        {"plug-in letters", checksumWithModule(kPluginPrefix + "abc"), XdfImportStatus::Loaded, pluginId(0)},
        {"other module", checksumWithModule("00000000-da49-1953-b6c0-1c7d3a9cf007"), XdfImportStatus::Loaded,
         pluginId(0)},
        {"last module wins",
         xdf("<XDFCHECKSUM><REGION><pluginmoduleid>" + kPluginPrefix + "003</pluginmoduleid></REGION>"
             "<REGION><pluginmoduleid>" + kPluginPrefix + "021</pluginmoduleid></REGION></XDFCHECKSUM>"),
         XdfImportStatus::Loaded, pluginId(21)},
        {"module outside a region", xdf("<XDFCHECKSUM><pluginmoduleid>" + kPluginPrefix + "003</pluginmoduleid>"
                                        "<title>t</title></XDFCHECKSUM>"),
         XdfImportStatus::Loaded, pluginId(55)},
        {"more than 256 tables", xdf(manyTables + "<XDFCHECKSUM><title>after</title></XDFCHECKSUM>"),
         XdfImportStatus::LoadedFirst256,
         [](const DefinitionStore& s) {
             EXPECT_EQ(s.mapCount, kMaxMaps);
             EXPECT_EQ(s.maps[255].title, "t255");
             EXPECT_EQ(s.checksum.title, "after");
         }},
        {"unknown elements skipped at any level",
         xdf("<XDFCONSTANT><title>c</title></XDFCONSTANT><XDFTABLE><title>t</title><NOTE><title>n</title></NOTE>"
             "<XDFAXIS id=\"x\"><EMBEDDEDDATA mmedaddress=\"0x10\"/><units>u</units><misc><units>v</units></misc>"
             "</XDFAXIS></XDFTABLE><XDFHEADER><misc><deftitle>h</deftitle></misc></XDFHEADER>"),
         XdfImportStatus::Loaded,
         [](const DefinitionStore& s) {
             EXPECT_EQ(s.mapCount, 1);
             EXPECT_EQ(s.maps[0].title, "t");
             EXPECT_EQ(s.maps[0].axes[AxisX].units, "u");
             EXPECT_EQ(s.maps[0].axes[AxisX].address, 0xABC0u);
             EXPECT_EQ(s.header.title, "old header");
         }},
        {"a comment as the root's first node: no section is read",
         xdf("<!-- c --><XDFHEADER><deftitle>new</deftitle></XDFHEADER><XDFTABLE/>"), XdfImportStatus::Loaded,
         [](const DefinitionStore& s) {
             EXPECT_EQ(s.mapCount, 0);
             EXPECT_EQ(s.header.title, "old header");
         }},
        {"Windows-1252", "<!-- Written by hand -->\r\n" + xdf("<XDFTABLE><title>Z\xE4hler</title>"
                                                              "<XDFAXIS id=\"x\"><units>\xB0" "C</units></XDFAXIS></XDFTABLE>"),
         XdfImportStatus::Loaded,
         [](const DefinitionStore& s) {
             EXPECT_EQ(s.maps[0].title, "Zähler");
             EXPECT_EQ(s.maps[0].axes[AxisX].units, "°C");
         }},
        {"line ends", xdf("<XDFTABLE><XDFAXIS id=\"a\r\r\nb\rc\"/></XDFTABLE>") + "\r", XdfImportStatus::Loaded,
         [](const DefinitionStore& s) { EXPECT_EQ(s.maps[0].axes[AxisZ].id, "a\n\nb\nc"); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto store = oldStore();
        EXPECT_EQ(importXdfText(*store, row.text.data(), row.text.size()), row.status);
        row.check(*store);
    }

    auto store = oldStore();
    TempDir dir;
    EXPECT_EQ(importXdfFile(*store, dir.file("absent.xdf")), XdfImportStatus::Unreadable);
    EXPECT_EQ(store->formatVersion, "old");
}
