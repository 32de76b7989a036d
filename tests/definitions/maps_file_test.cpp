#include "definitions/maps_file.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <functional>
#include <memory>
#include <chrono>
#include <optional>
#include <random>
#include <tuple>

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/xml_guard.h"
#include "test_support.h"

namespace {

std::unique_ptr<DefinitionStore> newStore() { return std::make_unique<DefinitionStore>(); }

std::string dataFile(const char* name)
{
    return (std::filesystem::path(TEST_DATA_DIR) / name).string();
}

std::string mapsXml(const std::string& body, const std::string& rootAttributes = " version=\"1.0\"")
{
    return "<?xml version=\"1.0\" ?>\n<XTS" + rootAttributes + ">" + body + "</XTS>\n";
}

// A store whose every field differs from what the tests load into it (in the
// slots they look at).
std::unique_ptr<DefinitionStore> oldStore()
{
    auto s = newStore();
    s->mapCount = 5;
    s->formatVersion = "old";
    s->header.title = "old header";
    s->header.description = "old description";
    s->checksum.title = "old checksum";
    for (int m = 0; m < 300; ++m) {
        s->maps[m].title = "old " + std::to_string(m);
        s->maps[m].description = "old description";
        for (auto& axis : s->maps[m].axes) {
            axis.units = "old";
            axis.bits = 99;
            axis.factor = 99.0;
            axis.labels.fill(-99.0);
        }
    }
    return s;
}

int countOf(const std::string& text, const std::string& needle)
{
    int n = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++n;
    return n;
}

MapsFileStatus loadText(DefinitionStore& store, const std::string& text)
{
    TempDir dir;
    writeText(dir.file("m.xts"), text);
    return loadMapsFile(store, dir.file("m.xts"));
}

// The golden file's store: one map with a Manual, a Scaled and an Embedded axis.
void fillSmallStore(DefinitionStore& s)
{
    s.mapCount = 1;
    s.header = {0x10, "1.2", "Small set", "", "Test & Co <x>", 0x8000};
    s.checksum = {"Sum \"A\"", 3};
    MapDefinition& m = s.maps[0];
    m.flags = 1;
    m.title = "Ignition advance";
    m.description = "Degrees before TDC";
    AxisDefinition& x = m.axes[AxisX];
    x.bits = 8; x.units = "rpm"; x.count = 3; x.outputtype = OutputInteger; x.embeddedinfotype = SourceManual;
    x.labels[0] = 500; x.labels[1] = 1000.5; x.labels[2] = 12.3456789; x.labels[3] = 7;
    x.factor = 1; x.offset = 0;
    AxisDefinition& y = m.axes[AxisY];
    y.flags = 3; y.address = 0x1234; y.bits = 16; y.units = "°C"; y.decimalpl = 1; y.count = 5;
    y.outputtype = OutputFloat; y.embeddedinfotype = SourceScaled; y.labels[0] = -40; y.labels[1] = 120;
    y.labels[2] = 5; y.factor = 0.1; y.offset = -40;
    AxisDefinition& z = m.axes[AxisZ];
    z.flags = 6; z.address = 65536; z.bits = 16; z.units = "deg"; z.decimalpl = 2; z.count = 0;
    z.outputtype = OutputFloat; z.embeddedinfotype = SourceEmbedded; z.labels[0] = 9; z.factor = 0.5;
    z.offset = 0;
}

void expectSameMap(const MapDefinition& a, const MapDefinition& b, int slot)
{
    SCOPED_TRACE("slot " + std::to_string(slot));
    EXPECT_EQ(a.flags, b.flags);
    EXPECT_EQ(a.title, b.title);
    EXPECT_EQ(a.description, b.description);
    for (int i = 0; i < 3; ++i) {
        const AxisDefinition &p = a.axes[i], &q = b.axes[i];
        SCOPED_TRACE("axis " + std::to_string(i));
        EXPECT_EQ(std::vector<std::uint32_t>({p.flags, p.address, p.bits, p.decimalpl, p.count, p.outputtype,
                                              p.embeddedinfotype}),
                  std::vector<std::uint32_t>({q.flags, q.address, q.bits, q.decimalpl, q.count, q.outputtype,
                                              q.embeddedinfotype}));
        EXPECT_EQ(p.units, q.units);
        EXPECT_EQ(p.factor, q.factor);
        EXPECT_EQ(p.offset, q.offset);
        const int written = p.embeddedinfotype == SourceManual ? std::min<int>(p.count, kMaxLabels)
                          : p.embeddedinfotype == SourceScaled ? 2 : 0;
        for (int l = 0; l < written; ++l)
            EXPECT_EQ(p.labels[l], q.labels[l]) << "label " << l;
    }
}

} // namespace

TEST(MapsFile, RoundTripKeepsEveryFieldAndLeavesStaleSlots)
{
    auto saved = newStore();
    fillSmallStore(*saved);
    saved->maps[0].axes[AxisX].labels[2] = 12.345679;   // six decimals survive exactly
    saved->mapCount = 3;
    saved->maps[1] = saved->maps[0];
    saved->maps[1].title = "a < b && c > \"d\" 'e'";
    saved->maps[1].description = "line 1\nline 2\ttab";
    saved->maps[1].axes[AxisX].count = 256;
    for (int l = 0; l < kMaxLabels; ++l)
        saved->maps[1].axes[AxisX].labels[l] = l * 0.25 - 10;
    saved->maps[2].flags = 0xFFFF;
    saved->maps[2].axes[AxisZ].address = 0xFFFFFFFF;
    saved->maps[2].axes[AxisZ].factor = -0.000001;

    TempDir dir;
    ASSERT_EQ(saveMapsFile(*saved, dir.file("set.xts")), MapsFileStatus::Saved);
    auto loaded = oldStore();
    ASSERT_EQ(loadMapsFile(*loaded, dir.file("set.xts")), MapsFileStatus::Loaded);

    const DefinitionStore& l = *loaded;   // an empty description element empties the field
    EXPECT_EQ(std::tie(l.mapCount, l.formatVersion, l.header.title, l.header.author, l.header.description),
              std::make_tuple(3, "1.0", "Small set", "Test & Co <x>", ""));
    EXPECT_EQ(std::tie(l.header.baseoffset, l.checksum.title, l.checksum.pluginid), std::make_tuple(0x8000u, "Sum \"A\"", 3));
    for (int m = 0; m < 3; ++m)
        expectSameMap(saved->maps[m], loaded->maps[m], m);
    EXPECT_EQ(loaded->maps[0].axes[AxisX].id, "x");
    EXPECT_EQ(loaded->maps[0].axes[AxisZ].labels[0], -99.0);      // Embedded labels are not written
    EXPECT_EQ(loaded->maps[3].title, "old 3");                     // beyond the new count
    EXPECT_EQ(loaded->maps[4].axes[AxisY].bits, 99);
}

TEST(MapsFile, WriterTextMatchesGoldenFile)
{
    auto store = newStore();
    fillSmallStore(*store);
    const std::string golden = readText(dataFile("small_store.xts"));
    ASSERT_FALSE(golden.empty());
    EXPECT_EQ(mapsFileText(*store), golden);

    TempDir dir;
    writeText(dir.file("old.xts"), "previous contents");
    ASSERT_EQ(saveMapsFile(*store, dir.file("old.xts")), MapsFileStatus::Saved);
    EXPECT_EQ(readText(dir.file("old.xts")), golden);
    EXPECT_EQ(saveMapsFile(*store, dir.file("no-such-folder/set.xts")), MapsFileStatus::SaveFailed);
}

// Every listed map is written (slots never written as empty maps), each axis
// with the labels its Source uses.
TEST(MapsFile, WriterWritesEveryListedMapAndTheLabelsItsSourceUses)
{
    struct Row { int maps; std::uint16_t type, count; int labels; };
    const Row rows[] = {{1, SourceManual, 4, 4}, {1, SourceManual, 0, 0}, {1, SourceManual, 300, 256}, {1, SourceScaled, 5, 2},
                        {1, SourceScaled, 0, 2}, {1, SourceEmbedded, 4, 0}, {1, 7, 4, 0}, {300, SourceManual, 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.maps << " maps, type " << row.type << " count " << row.count);
        auto store = newStore();
        store->mapCount = static_cast<std::uint16_t>(row.maps);
        store->maps[0].axes[AxisX].embeddedinfotype = row.type;
        store->maps[0].axes[AxisX].count = row.count;
        const std::string text = mapsFileText(*store);
        EXPECT_EQ(std::make_pair(countOf(text, "<TABLE>"), countOf(text, "<embeddedinfolabel")),
                  std::make_pair(row.maps, row.labels));
    }
}

// Each factor, offset and label reads back to the same double: in today's
// six decimals where those do, otherwise in the shortest text that does.
TEST(MapsFile, RealsReadBackToTheSameValue)
{
    const auto printfF = [](double v) {
        char text[512];
        std::snprintf(text, sizeof text, "%f", v);
        return std::string(text);
    };
    struct Row { double value; std::string text; };
    const Row rows[] = {
        {1.0, "1.000000"}, {0.01, "0.010000"}, {0.1, "0.100000"}, {-40.0, "-40.000000"}, {-0.0, "-0.000000"},
        {0.0, "0.000000"}, {2.5, "2.500000"}, {1e300, printfF(1e300)}, {DBL_MAX, printfF(DBL_MAX)},
        {INFINITY, "inf"}, {-INFINITY, "-inf"}, {NAN, "nan"}, {-NAN, "-nan"},
        {1.0 / 256, "0.00390625"}, {12.3456789, "12.3456789"}, {0.1 + 0.2, "0.30000000000000004"},
        {5e-7, "5e-07"}, {-1.5e-6, "-1.5e-06"}, {-DBL_MIN, "-2.2250738585072014e-308"},
        {123456789.123456789, "123456789.12345679"}, {1e15 + 0.3, "1000000000000000.250000"},
    };
    std::vector<double> values;
    for (const Row& row : rows)
        values.push_back(row.value);
    std::mt19937_64 rng(17);
    std::uniform_int_distribution<int> exponent(-12, 12);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    for (int i = 0; i < 2000; ++i)
        values.push_back(i % 4 ? mantissa(rng) * std::pow(10.0, exponent(rng)) : std::round(mantissa(rng) * 1e4) / 1e4);

    auto store = newStore();
    store->mapCount = 1;
    for (std::size_t i = 0; i < values.size(); i += kMaxLabels) {
        AxisDefinition& axis = store->maps[0].axes[AxisX];
        axis.embeddedinfotype = SourceManual;
        axis.count = static_cast<std::uint16_t>(std::min<std::size_t>(kMaxLabels, values.size() - i));
        for (int l = 0; l < axis.count; ++l)
            axis.labels[l] = values[i + l];
        axis.factor = values[i];
        axis.offset = values[i + axis.count - 1];
        const std::string text = mapsFileText(*store);
        if (i == 0) {
            for (int l = 0; l < static_cast<int>(std::size(rows)); ++l)
                EXPECT_NE(text.find("index=\"" + std::to_string(l) + "\" value=\"" + rows[l].text + "\""),
                          std::string::npos) << rows[l].text;
            EXPECT_NE(text.find("<factor>1.000000</factor>"), std::string::npos);
        }
        auto loaded = newStore();
        ASSERT_EQ(loadMapsText(*loaded, text.data(), text.size()), MapsFileStatus::Loaded);
        const AxisDefinition& back = loaded->maps[0].axes[AxisX];
        const auto same = [](double a, double b) {
            return (std::isnan(a) && std::isnan(b)) || (a == b && std::signbit(a) == std::signbit(b));
        };
        for (int l = 0; l < axis.count; ++l)
            ASSERT_TRUE(same(back.labels[l], axis.labels[l])) << axis.labels[l];
        EXPECT_TRUE(same(back.factor, axis.factor) && same(back.offset, axis.offset));
    }
}

// Whatever texts the store holds, the file is XML 1.0 in UTF-8: a character
// XML cannot carry is written as U+FFFD; tabs and line breaks stay.
TEST(MapsFile, WrittenTextsAreXml10)
{
    const std::string r = "\xEF\xBF\xBD";
    struct Row { std::string stored, read; };
    const Row rows[] = {
        {"a\x19" "b", "a" + r + "b"},
        {"\x01\x08\x0B\x0C\x1F", r + r + r + r + r},
        {std::string("nul\0!", 5), "nul" + r + "!"},
        {"tab\tline\nreturn\r", "tab\tline\nreturn\r"},
        {"\xEF\xBF\xBE \xEF\xBF\xBF", r + " " + r},                  // U+FFFE, U+FFFF
        {"cut \xE2\x82 and \xB0", "cut " + r + r + " and " + r},   // not UTF-8
        {"\xED\xA0\x80", r + r + r},                                 // a surrogate
        {"€ ’ 😀 \xC2\x85 \xEE\x80\x80", "€ ’ 😀 \xC2\x85 \xEE\x80\x80"},
        {"&#x41; & <b>", "&#x41; & <b>"},
        {"  two  blanks, a line\n  and a trailing blank ", "  two  blanks, a line\n  and a trailing blank "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.read);
        auto store = newStore();
        store->mapCount = 1;
        store->maps[0].title = row.stored;
        store->header.author = row.stored;
        const std::string text = mapsFileText(*store);
        for (const char c : text)
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n' || c == '\t' || c == '\r');
        for (auto at = text.find("&#x"); at != std::string::npos; at = text.find("&#x", at + 1)) {
            const unsigned long code = std::strtoul(text.c_str() + at + 3, nullptr, 16);
            EXPECT_TRUE(code == 0x9 || code == 0xA || code == 0xD || code >= 0x20) << text.substr(at, 8);
        }
        auto loaded = newStore();
        ASSERT_EQ(loadMapsText(*loaded, text.data(), text.size()), MapsFileStatus::Loaded);
        EXPECT_EQ(loaded->maps[0].title, row.read);
        EXPECT_EQ(loaded->header.author, row.read);
    }
}

TEST(MapsFile, ReadsEachValueNotation)
{
    const auto read = [](const AxisDefinition& a, const std::string& element) -> double {
        return element == "address" ? a.address : element == "flags" ? a.flags : element == "count" ? a.count
             : element == "factor"  ? a.factor  : a.offset;
    };
    struct Row { const char* element; std::vector<std::pair<const char*, double>> cases; };
    const Row rows[] = {
        {"address", {{"0x10000", 65536}, {"0X1f", 31}, {"1234", 1234}, {"017", 15}, {"   0x20", 32},
                     {"0x123456789", 0x12345678}, {"12abc", 12}, {"zz", 0}, {"", 0}, {"4294967297", 1}, {"0x", 0},
                     {"\n          0x2000\n        ", 0x2000}}},   // indented on a line of its own
        {"flags", {{"0x12345", 0x2345}, {" 0x6 ", 6}}},
        {"count", {{"12", 12}, {"  +7", 7}, {"-1", 65535}, {"7x", 7}, {"0x10", 0}, {"010", 10}, {"70000", 4464}, {"", 0},
                   {"\t12\n", 12}}},
        {"factor", {{"0.5", 0.5}, {"-4e1", -40}, {"", 1.0}, {"abc", 1.0}, {"1.5x", 1.0}, {"1,5", 1.0}, {" 0.5 ", 0.5},
                    {"nan", 1.0}, {"-inf", 1.0}, {"1e999", 1.0}}},
        {"offset", {{"2.25", 2.25}, {"abc", 0.0}, {"", 0.0}, {"\n    -40.000000\n  ", -40.0}, {"inf", 0.0}}},
    };
    for (const Row& row : rows)
        for (const auto& [text, expected] : row.cases) {
            auto store = oldStore();
            const std::string e = row.element;
            ASSERT_EQ(loadText(*store, mapsXml("<TABLE><AXIS id=\"y\"><" + e + ">" + text + "</" + e + "></AXIS></TABLE>")),
                      MapsFileStatus::Loaded);
            EXPECT_EQ(read(store->maps[0].axes[AxisY], e), expected) << e << " \"" << text << '"';
        }
}

// What an accepted document gives, loaded over a store that held other things.
TEST(MapsFile, DocumentRules)
{
    using Check = std::function<void(const DefinitionStore&)>;
    const auto listed = [](int maps, const char* headerTitle) -> Check {
        return [=](const DefinitionStore& s) {
            EXPECT_EQ(std::tie(s.mapCount, s.header.title), std::make_tuple(maps, headerTitle));
        };
    };
    const auto units = [](const char* expected) -> Check {
        return [=](const DefinitionStore& s) {
            EXPECT_EQ(std::tie(s.maps[0].axes[AxisX].units, s.maps[0].axes[AxisX].bits), std::make_tuple(expected, 8));
        };
    };
    const auto withUnits = [](const std::string& text) {
        return "<TABLE><AXIS id=\"x\"><units>" + text + "</units><bits>8</bits></AXIS></TABLE>";
    };
    std::string tables;
    for (int i = 0; i < kMaxMaps + 1; ++i)
        tables += "<TABLE><title>t" + std::to_string(i) + "</title></TABLE>";

    struct Row { const char* name; std::string text; Check check; MapsFileStatus status = MapsFileStatus::Loaded; };
    const Row rows[] = {
        {"root of another name", "<ROOT version=\"1.0\"><HEADER><title>new</title></HEADER><TABLE/></ROOT>", listed(1, "new")},
        {"comments and blanks first", mapsXml("\n  <!-- c -->\n<![CDATA[ \t]]><!-- d --><?generator x 1.0?><HEADER><title>new</title></HEADER><TABLE/>"), listed(1, "new")},
        {"text first", mapsXml("x<HEADER><title>new</title></HEADER><TABLE/>"), listed(0, "old header")},
        {"unknown sections skipped", mapsXml("<NOTE/><TABLE/><HEADER><title>a</title></HEADER><HEADER><title>b</title></HEADER>"), listed(1, "b")},
        {"texts and labels",
         mapsXml("<TABLE><title>a &amp; b</title><AXIS id=\"x\"><units></units>"
                 "<embeddedinfolabel index=\"0x10\" value=\"12.3456789\"/><embeddedinfolabel index=\"010\" value=\"1.5abc\"/>"
                 "<embeddedinfolabel index=\"2\" value=\"abc\"/><embeddedinfolabel index=\"3\"/><embeddedinfolabel value=\"4\"/>"
                 "<embeddedinfolabel index=\"300\" value=\"5\"/><embeddedinfolabel index=\"-1\" value=\"6\"/></AXIS></TABLE>"),
         [](const DefinitionStore& s) {
             const MapDefinition& m = s.maps[0];
             const AxisLabels& l = m.axes[AxisX].labels;
             // Absent elements keep the old content; a label without a value or an index is skipped.
             EXPECT_EQ(std::tie(m.title, m.description, m.axes[AxisX].units), std::make_tuple("a & b", "old description", ""));
             EXPECT_EQ(std::make_tuple(l[16], l[8], l[2], l[3], l[0], l[255]), std::make_tuple(12.3456789, 1.5, 0.0, -99.0, -99.0, -99.0));
         }},
        {"axis ids other than lower-case x and y select Z",
         mapsXml("<TABLE><AXIS id=\"X\"><bits>8</bits></AXIS><AXIS><bits>16</bits></AXIS><AXIS id=\"y\"><bits>32</bits></AXIS></TABLE>"),
         [](const DefinitionStore& s) {
             const MapDefinition& m = s.maps[0];
             EXPECT_EQ(std::tie(m.axes[AxisX].bits, m.axes[AxisY].bits, m.axes[AxisZ].bits), std::make_tuple(99, 32, 16));
             EXPECT_EQ(std::tie(m.axes[AxisZ].id, m.axes[AxisY].id), std::make_tuple("", "y"));
         }},
        {"the first 65535 tables", mapsXml(tables + "<CHECKSUM><pluginid>4</pluginid></CHECKSUM>"),
         [](const DefinitionStore& s) {   // sections after the excess are still read
             EXPECT_EQ(std::tie(s.mapCount, s.maps[65534].title, s.checksum.pluginid), std::make_tuple(65535, "t65534", 4));
         },
         MapsFileStatus::LoadedToLimit},
        // Text encodings.
        {"UTF-8", mapsXml(withUnits("°C")), units("°C")},
        {"Windows-1252", mapsXml(withUnits("\xB0" "C \xE4")), units("°C ä")},
        {"byte order mark", "\xEF\xBB\xBF" + mapsXml(withUnits("°C")), units("°C")},
        {"character reference", mapsXml(withUnits("&#xB0;C")), units("°C")},
        {"Windows-1252 with references above 255", mapsXml(withUnits("\x92" "A&#8217;s \xB0" "C &#8364;")), units("’A’s °C €")},
        {"reference to no character", mapsXml(withUnits("a&#xD800;b&#x110000;")), units("a\uFFFD\uFFFD\uFFFD" "b\uFFFD\uFFFD\uFFFD\uFFFD")},   // each byte
        {"CR LF line ends", "<?xml version=\"1.0\" ?>\r\n<XTS version=\"1.0\">\r\n" + withUnits("\xB5s") + "\r\n</XTS>\r\n", units("µs")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto store = oldStore();
        ASSERT_EQ(loadText(*store, row.text), row.status);
        row.check(*store);
    }
    EXPECT_STREQ(mapsFileStatusMessage(MapsFileStatus::LoadedToLimit), "Only the first 65535 maps were loaded.");
}

TEST(MapsFile, FailuresLeaveTheStoreUnchanged)
{
    auto repeat = [](const std::string& text, std::size_t n) {
        std::string out;
        for (std::size_t i = 0; i < n; ++i)
            out += text;
        return out;
    };
    std::string attributes;
    for (std::size_t i = 0; i <= kXmlMaxAttributes; ++i)
        attributes += " a" + std::to_string(i) + "=\"1\"";
    struct Row {
        const char* name;
        std::optional<std::string> text;   // none: no file
        MapsFileStatus status;
        const char* version;
        bool folder = false;   // a folder in the file's place
    };
    const Row rows[] = {
        {"missing file", std::nullopt, MapsFileStatus::NotFound, "old"},
        {"a folder", std::nullopt, MapsFileStatus::NotFound, "old", true},
        // Beyond the parser's stack, and merely beyond what real files need.
        {"40,000 levels", "<XTS version=\"1.0\"><HEADER>" + repeat("<a>", 40000), MapsFileStatus::Unreadable, "old"},
        {"one level too deep", mapsXml(repeat("<a>", kXmlMaxDepth) + repeat("</a>", kXmlMaxDepth)), MapsFileStatus::Unreadable, "old"},
        {"too many attributes", mapsXml("<TABLE" + attributes + "/>"), MapsFileStatus::Unreadable, "old"},
        {"empty file", "", MapsFileStatus::Unreadable, "old"},
        {"not well-formed", "<XTS version=\"1.0\"><HEADER></XTS>", MapsFileStatus::Unreadable, "old"},
        {"no root element", "<?xml version=\"1.0\" ?>\n<!-- nothing -->\n", MapsFileStatus::Corrupted, "old"},
        {"declaration cut short", "<?xml version=\"1.0\" ", MapsFileStatus::Unreadable, "old"},
        {"version 1.00", "<XTS version=\"1.00\"><TABLE/></XTS>", MapsFileStatus::IncompatibleVersion, "1.00"},
        {"no version", "<XTS><TABLE/></XTS>", MapsFileStatus::IncompatibleVersion, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto store = oldStore();
        TempDir dir;
        if (row.text)
            writeText(dir.file("m.xts"), *row.text);
        if (row.folder)
            std::filesystem::create_directory(dir.file("m.xts"));
        EXPECT_EQ(loadMapsFile(*store, dir.file("m.xts")), row.status);
        EXPECT_EQ(std::tie(store->formatVersion, store->mapCount, store->maps[0].title, store->header.title),
                  std::make_tuple(row.version, 5, "old 0", "old header"));
    }
}

// The path is swapped for a FIFO (with no writer) and back as fast as the
// system allows while the loads run: none of them may hang.
TEST(MapsFile, LoadNeverWaitsOnAFifo)
{
    TempDir dir;
    const std::string path = dir.file("m.xts");
    const std::string other = dir.file("other");
    writeText(path, mapsXml(""));
    ASSERT_EQ(mkfifo(other.c_str(), 0600), 0);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto store = newStore();
        for (int i = 0; i < 100000; ++i) {
            const MapsFileStatus s = loadMapsFile(*store, path);
            if (s != MapsFileStatus::Loaded && s != MapsFileStatus::NotFound)
                _exit(2);
        }
        _exit(0);
    }
    int status = -1;
    // The loads take some 4 s on a busy machine; only a hung one takes a minute.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (waitpid(child, &status, WNOHANG) == 0 && std::chrono::steady_clock::now() < deadline) {
        for (int i = 0; i < 100; ++i)
            renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, other.c_str(), RENAME_EXCHANGE);
    }
    if (kill(child, SIGKILL) == 0)   // still running: hung
        waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a load hung on the FIFO";
}


// Slots beyond the first 256 live as the first ones do: a shorter load leaves
// them as they were, slots never written read empty, and only what a file
// wrote holds memory.
TEST(MapsFile, ThousandsOfMapsRoundTripAndKeepTheirSlots)
{
    auto saved = newStore();
    saved->mapCount = 1000;
    for (int m = 0; m < 1000; ++m) {
        MapDefinition& map = saved->maps[m];
        map.title = "Map " + std::to_string(m);
        map.axes[AxisZ].address = static_cast<std::uint32_t>(m * 64);
        AxisDefinition& x = map.axes[AxisX];
        x.count = static_cast<std::uint16_t>(m % 17);
        for (int l = 0; l < x.count; ++l)
            x.labels[l] = m + l * 0.5;
    }
    const std::string text = mapsFileText(*saved);
    EXPECT_EQ(countOf(text, "<TABLE>"), 1000);

    auto store = newStore();
    ASSERT_EQ(loadMapsText(*store, text.data(), text.size()), MapsFileStatus::Loaded);
    EXPECT_EQ(mapsFileText(*store), text);
    EXPECT_EQ(store->maps.held(), 1000u);
    EXPECT_EQ(store->maps[999].axes[AxisX].labels.held(), 999u % 17);

    const std::string three = mapsXml("<TABLE/><TABLE/><TABLE><title>new</title></TABLE>");
    ASSERT_EQ(loadMapsText(*store, three.data(), three.size()), MapsFileStatus::Loaded);
    const DefinitionStore& after = *store;
    EXPECT_EQ(std::make_tuple(after.mapCount, after.maps[2].title, after.maps[999].title, after.maps[300].title),
              std::make_tuple(3, "new", "Map 999", "Map 300"));
    EXPECT_EQ(std::make_tuple(after.maps[1000].title, after.maps[65534].axes[AxisX].labels[255], after.maps.held()),
              std::make_tuple("", 0.0, 1000u));
}


TEST(MapsFile, NumbersIgnoreTheProcessLocale)
{
    struct LocaleGuard {
        ~LocaleGuard() { std::setlocale(LC_ALL, "C"); }
    } guard;
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8"))
        GTEST_SKIP() << "no German locale installed";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");

    auto store = newStore();
    fillSmallStore(*store);
    store->maps[0].axes[AxisX].labels[0] = 1.5;
    TempDir dir;
    ASSERT_EQ(saveMapsFile(*store, dir.file("de.xts")), MapsFileStatus::Saved);
    const std::string text = readText(dir.file("de.xts"));
    EXPECT_EQ(text.find(','), std::string::npos);
    EXPECT_NE(text.find("value=\"1.500000\""), std::string::npos);

    ASSERT_EQ(loadText(*store, mapsXml("<TABLE><AXIS id=\"x\"><factor>1.5</factor>"
                                       "<embeddedinfolabel index=\"0\" value=\"2.25\"/></AXIS></TABLE>")),
              MapsFileStatus::Loaded);
    EXPECT_EQ(store->maps[0].axes[AxisX].factor, 1.5);
    EXPECT_EQ(store->maps[0].axes[AxisX].labels[0], 2.25);
}
