#include "definitions/xdf_import.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>

#include "common/xml_guard.h"
#include "test_support.h"

namespace {

// Every field set (in the slots the tests look at), and different from
// anything the tests import.
std::unique_ptr<DefinitionStore> oldStore()
{
    auto s = std::make_unique<DefinitionStore>();
    s->mapCount = 5;
    s->formatVersion = "old";
    s->header = {0x77, "old version", "old header", "old description", "old author", 0x4242};
    s->checksum = {"old checksum", 55};
    for (int m = 0; m < 8; ++m) {
        s->maps[m] = {0x11, "old " + std::to_string(m), "old description", {}};
        for (AxisDefinition& axis : s->maps[m].axes) {
            axis = {"old", 0x5, 0xABC0, 99, "old", 7, 77, 9, 6, {}, 99.0, -99.0};
            axis.labels.fill(-99.0);
        }
    }
    return s;
}

// Every field of a map; labels only where they differ from the old -99.
std::string describe(const MapDefinition& m)
{
    std::ostringstream out;
    out << m.flags << '|' << m.title << '|' << m.description;
    for (const AxisDefinition& a : m.axes) {
        out << "\n" << a.id << '|' << a.flags << '|' << std::hex << a.address << std::dec << '|' << a.bits << '|'
            << a.units << '|' << a.decimalpl << '|' << a.count << '|' << a.outputtype << '|' << a.embeddedinfotype
            << '|' << a.factor << '|' << a.offset << '|';
        for (int i = 0; i < kMaxLabels; ++i)
            if (a.labels[i] != -99.0)
                out << ' ' << i << '=' << a.labels[i];
    }
    return out.str();
}

std::string xdf(const std::string& body, const std::string& version = "1.50")
{
    return "<XDFFORMAT version=\"" + version + "\">" + body + "</XDFFORMAT>";
}

std::string checksumModule(const std::string& id)
{
    return xdf("<XDFCHECKSUM><REGION><datastart>0</datastart><pluginmoduleid>" + id + "</pluginmoduleid></REGION>"
               "</XDFCHECKSUM>");
}

} // namespace

// In the shape of a real 1.50 export: Windows-1252, CR LF, a comment before
// the root and no declaration; header defaults, regions and categories,
// constants and flags, embedded data, math with variables, label runs and
// category memberships. What is not imported keeps its old contents.
TEST(XdfImport, RealisticExport)
{
    auto s = oldStore();
    ASSERT_EQ(importXdfFile(*s, (std::filesystem::path(TEST_DATA_DIR) / "export_150.xdf").string()),
              XdfImportStatus::Loaded);
    EXPECT_EQ(s->mapCount, 3);
    EXPECT_EQ(s->formatVersion, "1.50");
    const DefinitionsHeader& h = s->header;
    EXPECT_EQ(std::tie(h.flags, h.fileversion, h.title, h.description, h.author, h.baseoffset),
              std::make_tuple(0x77, "2.1", "1.8T petrol, 512 KiB", "Ignition and fuel maps für Prüfstand",
                              "Bench & Road", 0x10000u));
    EXPECT_EQ(s->checksum.title, "Main ROM checksum");
    EXPECT_EQ(s->checksum.pluginid, 12);
    EXPECT_EQ(describe(s->maps[0]),
              "17|Ignition base|Base ignition angle, part load\n"
              "x|5|abc0|99|rpm|0|8|2|1|1|0| 0=800 1=1200 2=1600 3=2000 4=2800 5=3600 6=4800 7=6400\n"
              "y|5|abc0|99|%|1|4|1|2|1|0| 0=12.5 1=37.5 2=62.5 3=87.5\n"
              "z|5|abc0|99|°KW|2|77|1|6|1|0|");
    EXPECT_EQ(describe(s->maps[1]),
              "17|Lambda target|\n"
              "x|5|abc0|99|°C|7|3|9|3|99|-99| 0=-40 1=20.5 2=0\n"   // no MATH: the scaling stays
              "y|5|abc0|99|old|0|1|9|1|99|-99|\n"
              "z|5|abc0|99|Verhältnis|3|77|1|6|1|0|");
    EXPECT_EQ(describe(s->maps[2]),
              "17|Idle speed|Target idle over coolant temperature\n"
              "x|5|abc0|99|°C|7|2|9|2|99|-99| 0=-30 1=90\n"
              "old|5|abc0|99|old|7|77|9|6|99|-99|\n"   // no Y axis in the file
              "z|5|abc0|99|rpm|7|77|2|6|99|-99|");
    EXPECT_EQ(s->maps[3].title, "old 3");
}

TEST(XdfImport, Rules)
{
    using Check = std::function<void(const DefinitionStore&)>;
    const auto unchangedBut = [](const char* version) {
        return [version](const DefinitionStore& s) {
            EXPECT_EQ(s.formatVersion, version);
            EXPECT_EQ(describe(s.maps[0]), describe(oldStore()->maps[0]));
            EXPECT_EQ(std::tie(s.mapCount, s.header.title), std::make_tuple(5, "old header"));
        };
    };
    const auto firstMap = [](const char* expected) {
        return [expected](const DefinitionStore& s) { EXPECT_EQ(describe(s.maps[0]), expected); };
    };
    const auto pluginId = [](int id) { return [id](const DefinitionStore& s) { EXPECT_EQ(s.checksum.pluginid, id); }; };
    const std::string prefix = "9b6fa911-da49-1953-b6c0-1c7d3a9cf";
    std::string tables;
    for (int i = 0; i <= kMaxMaps; ++i)
        tables += "<XDFTABLE><title>t" + std::to_string(i) + "</title></XDFTABLE>";
    std::string deep;   // with the root, one level more than the guard allows
    for (std::size_t i = 0; i < kXmlMaxDepth; ++i)
        deep = "<a>" + deep + "</a>";

    struct Row { const char* name; std::string text; XdfImportStatus status; Check check; };
    const Row rows[] = {
        {"version 1.60", xdf("<XDFTABLE/>", "1.60"), XdfImportStatus::IncompatibleVersion, unchangedBut("1.60")},
        {"no version", "<XDFFORMAT><XDFTABLE/></XDFFORMAT>", XdfImportStatus::IncompatibleVersion, unchangedBut("")},
        {"not well-formed", xdf("<XDFTABLE>"), XdfImportStatus::Unreadable, unchangedBut("old")},
        {"empty file", "", XdfImportStatus::Unreadable, unchangedBut("old")},
        {"nested one level beyond the guard", xdf("<XDFTABLE/>" + deep), XdfImportStatus::Unreadable, unchangedBut("old")},
        {"no root element", "<!-- Written 01/01/2021 -->\n", XdfImportStatus::Corrupted, unchangedBut("old")},
        {"no tables", xdf("<XDFHEADER><deftitle>new</deftitle></XDFHEADER>"), XdfImportStatus::Loaded,
         [](const DefinitionStore& s) { EXPECT_EQ(std::tie(s.mapCount, s.header.title), std::make_tuple(0, "new")); }},
        {"MATH gives factor 1 and offset 0, indexcount only on X and Y, other ids select Z",
         xdf("<XDFTABLE><XDFAXIS id=\"x\"><MATH equation=\"X*3+7\"><VAR id=\"X\"/></MATH><indexcount>16</indexcount>"
             "</XDFAXIS><XDFAXIS id=\"y\"><indexcount>abc</indexcount></XDFAXIS>"
             "<XDFAXIS id=\"X\"><indexcount>40</indexcount><decimalpl>3</decimalpl></XDFAXIS></XDFTABLE>"),
         XdfImportStatus::Loaded,
         firstMap("17|old 0|old description\nx|5|abc0|99|old|7|16|9|6|1|0|\ny|5|abc0|99|old|7|0|9|6|99|-99|\n"
                  "X|5|abc0|99|old|3|77|9|6|99|-99|")},
        {"embedinfo and LABEL notations, out of range and missing attributes",
         xdf("<XDFTABLE><XDFAXIS id=\"x\"><embedinfo type=\"0x2\"/><LABEL index=\"0x10\" value=\"1.5abc\"/>"
             "<LABEL index=\"255\" value=\"-2\"/><LABEL index=\"256\" value=\"5\"/><LABEL index=\"-1\" value=\"6\"/>"
             "<LABEL index=\"3\"/><LABEL value=\"4\"/></XDFAXIS><XDFAXIS id=\"y\"><embedinfo type=\"010\"/>"
             "</XDFAXIS><XDFAXIS><embedinfo/></XDFAXIS></XDFTABLE>"),
         XdfImportStatus::Loaded,
         firstMap("17|old 0|old description\nx|5|abc0|99|old|7|77|9|2|99|-99| 16=1.5 255=-2\n"
                  "y|5|abc0|99|old|7|77|9|8|99|-99|\n|5|abc0|99|old|7|77|9|6|99|-99|")},
        {"plug-in number", checksumModule(prefix + "007"), XdfImportStatus::Loaded, pluginId(7)},
        {"plug-in letters", checksumModule(prefix + "abc"), XdfImportStatus::Loaded, pluginId(0)},
        {"other module", checksumModule("0" + prefix.substr(1) + "007"), XdfImportStatus::Loaded, pluginId(0)},
        {"65536 tables", xdf(tables + "<XDFCHECKSUM><title>after</title></XDFCHECKSUM>"), XdfImportStatus::LoadedToLimit,
         [](const DefinitionStore& s) {
             EXPECT_EQ(std::tie(s.mapCount, s.maps[65534].title, s.checksum.title),
                       std::make_tuple(65535, "t65534", "after"));
         }},
        {"licence comment before the first section",
         xdf("\r\n  <!-- Licence: read only -->\r\n  <?generator x 1.0?>\r\n  <XDFHEADER><deftitle>new</deftitle></XDFHEADER>"
             "<XDFTABLE><title>t</title></XDFTABLE>"),
         XdfImportStatus::Loaded,
         [](const DefinitionStore& s) { EXPECT_EQ(std::tie(s.mapCount, s.header.title), std::make_tuple(1, "new")); }},
        {"Windows-1252 with references above 255",
         xdf("<XDFTABLE><title>\x92" "A&#8217;s \xB0" "C &#8364;</title></XDFTABLE>"), XdfImportStatus::Loaded,
         [](const DefinitionStore& s) { EXPECT_EQ(s.maps[0].title, "’A’s °C €"); }},
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
    EXPECT_EQ(importXdfFile(*store, "/nonexistent/a.xdf"), XdfImportStatus::Unreadable);
}
