#include "definitions/xdf_complete_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "cells/cell_codec.h"
#include "definitions/maps_file.h"
#include "test_support.h"

namespace {

// Where values lie in the image and what a raw one means, worked out by hand
// from the file, independently of the import and the codec.
struct Truth {
    std::uint32_t address;
    int bytes;
    bool isSigned, lsbFirst, byColumn;
    int cols, rows;
    double (*eng)(double);
    int decimals;
};
struct MapTruth {
    const char* title;
    std::optional<Truth> cells;   // none: no address, width 0
    std::optional<Truth> x = {};  // none: the axis keeps its labels
    std::optional<Truth> y = {};
};

double rawAt(const std::vector<std::uint8_t>& image, std::size_t at, const Truth& t)
{
    std::uint64_t u = 0;
    for (int i = 0; i < t.bytes; ++i)
        u = u << 8 | image.at(at + static_cast<std::size_t>(t.lsbFirst ? t.bytes - 1 - i : i));
    const std::uint64_t top = std::uint64_t(1) << (8 * t.bytes - 1);
    return t.isSigned && (u & top) ? double(u) - 2.0 * double(top) : double(u);
}

double engAt(const std::vector<std::uint8_t>& image, std::size_t at, const Truth& t)
{
    const double p = std::pow(10.0, t.decimals);
    return std::floor(t.eng(rawAt(image, at, t)) * p + 0.5) / p;
}

void expectSameValue(double actual, double expected)
{
    EXPECT_NEAR(actual, expected, 1e-9 * std::max(1.0, std::fabs(expected)));
}

void expectStoredAxis(const std::vector<std::uint8_t>& image, const AxisDefinition& axis, const std::optional<Truth>& t)
{
    if (!t) {
        EXPECT_EQ(axis.embeddedinfotype, SourceManual);
        return;
    }
    ASSERT_EQ(axis.embeddedinfotype, SourceEmbedded);
    for (int i = 0; i < t->cols; ++i) {
        double value = 0;
        ASSERT_TRUE(CellCodec::readStoredAxisValue(image.data(), image.size(), axis, i, value));
        expectSameValue(value, engAt(image, t->address + std::size_t(i) * t->bytes, *t));
    }
}

// Every cell of every map with an address, and every stored axis value,
// reads as the file and the image say.
void expectValues(const DefinitionStore& s, const std::vector<MapTruth>& maps, const std::vector<std::uint8_t>& image)
{
    ASSERT_EQ(s.mapCount, maps.size());
    for (std::size_t m = 0; m < maps.size(); ++m) {
        const MapDefinition& map = s.maps[m];
        const MapTruth& truth = maps[m];
        SCOPED_TRACE(truth.title);
        EXPECT_EQ(map.title, truth.title);
        const AxisDefinition& z = map.axes[AxisZ];
        if (!truth.cells) {
            EXPECT_EQ(std::tie(z.address, z.bits), std::make_tuple(0u, 0));
            continue;
        }
        const Truth& t = *truth.cells;
        ASSERT_EQ(std::tie(map.axes[AxisX].count, map.axes[AxisY].count), std::make_tuple(t.cols, t.rows));
        ASSERT_TRUE(CellCodec::blockFits(map, image.size()));
        for (int y = 0; y < t.rows; ++y)
            for (int x = 0; x < t.cols; ++x) {
                const int index = t.byColumn ? x * t.rows + y : y * t.cols + x;
                const double actual = CellCodec::readEngValue(image.data(), z.address + CellCodec::cellOffset(map, x, y), z);
                expectSameValue(actual, engAt(image, t.address + std::size_t(index) * t.bytes, t));
            }
        expectStoredAxis(image, map.axes[AxisX], truth.x);
        expectStoredAxis(image, map.axes[AxisY], truth.y);
    }
}

std::string dataFile(const char* name)
{
    return (std::filesystem::path(TEST_DATA_DIR) / "xdf_complete" / name).string();
}

double same(double r) { return r; }

// The hand-written set: four files of the four versions, in the shapes real
// files take, over one generated image.
TEST(XdfCompleteImport, EveryCellReadsWhatTheFileAndImageSay)
{
    const std::vector<std::uint8_t> image = randomBytes(0x10000, 18);
    struct File {
        const char* name;
        std::vector<MapTruth> maps;
        const char* message;
    };
    const File files[] = {
        {"ecu_a_150.xdf",   // base offset -4096, defaults 16-bit signed LSB first
         {{"Spark advance", Truth{0x300, 2, true, true, false, 8, 4, [](double r) { return r * 0.75 - 48; }, 2},
           Truth{0x200, 2, true, true, false, 8, 1, [](double r) { return r / 4; }, 0},
           Truth{0x220, 1, false, false, false, 4, 1, [](double r) { return r * 100 / 255; }, 1}},
          {"Coolant correction", Truth{0x400, 1, false, false, false, 6, 1, [](double r) { return ((r - 40) * 9) / 5 + 32; }, 1},
           Truth{0x410, 2, false, true, false, 6, 1, [](double r) { return r / 10 - 40; }, 1}},
          {"Coolant axis", Truth{0x410, 2, false, true, false, 6, 1, [](double r) { return r / 10 - 40; }, 1}},
          {"Injector flow (float)", {}},
          {"Odd width", {}},
          {"No address", {}},
          {"Strided", {}},
          {"Boost (not linear)", Truth{0x800, 2, false, true, false, 3, 2, same, 0}},
          {"Manual axes", Truth{0xA00, 4, true, true, false, 3, 2, [](double r) { return r * 0.001; }, 3}},
          {"Rev limit", Truth{0xB00, 2, true, true, false, 1, 1, [](double r) { return r * 0.25; }, 0}},
          {"Lambda switch", Truth{0xB02, 1, false, false, false, 1, 1, same, 0}},
          {"Float constant", {}}},
         "Definitions file loaded: 12 maps; 1 needs its scaling and 5 their address set by hand."},
        {"ecu_b_160.xdf",   // base offset 0x800, defaults 8-bit unsigned MSB first
         {{"Fuel by column", Truth{0x2800, 2, false, false, true, 5, 3, [](double r) { return r * .0032 + -1; }, 4}},
          {"Sizes from the cells", Truth{0x2900, 4, false, true, false, 4, 2, [](double r) { return r / 16384; }, 3}},
          {"Named variable", Truth{0x2A00, 2, true, false, false, 4, 1, [](double r) { return r * 0.1 + -48; }, 1}},
          {"Two variables", Truth{0x2B00, 1, false, false, false, 2, 1, same, 0}},
          {"Counts disagree", {}},
          {"Idle target", Truth{0x2C00, 2, false, false, false, 1, 1, [](double r) { return r / 3; }, 2}},
          {"Boost factor", Truth{0x2C02, 1, false, false, false, 1, 1, [](double r) { return r * 0.000167; }, 6}}},
         "Definitions file loaded: 7 maps; 1 needs its scaling and 1 its address set by hand."},
        {"ecu_c_170.xdf",   // base offset 0x1000 subtracted, no defaults
         {{"Linked later", Truth{0x3000, 1, true, false, false, 4, 1, [](double r) { return r - 48; }, 0},
           Truth{0x3010, 2, false, true, false, 4, 1, [](double r) { return r * 0.5; }, 1}},
          {"Axis later", Truth{0x3010, 2, false, true, false, 4, 1, [](double r) { return r * 0.5; }, 1}},
          {"Width from nowhere", {}},
          {"Short link", Truth{0x3200, 1, false, false, false, 6, 1, same, 0}},
          {"Link to nothing", Truth{0x3300, 1, false, false, false, 2, 1, same, 0}}},
         "Definitions file loaded: 5 maps; 1 needs its address set by hand."},
        {"ecu_d_180.xdf",   // defaults 16-bit unsigned LSB first
         {{"Torque", Truth{0x5010, 2, false, true, false, 4, 3, [](double r) { return r * 0.1; }, 1},
           Truth{0x5000, 2, false, true, false, 4, 1, [](double r) { return r * 10; }, 0},
           Truth{0x5008, 1, true, false, false, 3, 1, [](double r) { return r - 40; }, 0}},
          {"Version byte", Truth{0x5100, 1, false, false, false, 1, 1, same, 0}}},
         "Definitions file loaded: 2 maps."},
    };
    for (const File& file : files) {
        SCOPED_TRACE(file.name);
        auto store = std::make_unique<DefinitionStore>();
        const XdfCompleteImport result = importCompleteXdfFile(*store, dataFile(file.name));
        EXPECT_EQ(xdfCompleteImportMessage(result).plain(), file.message);
        expectValues(*store, file.maps, image);
        // Saved as a maps file and loaded again, every value stays.
        auto reloaded = std::make_unique<DefinitionStore>();
        const std::string saved = mapsFileText(*store);
        ASSERT_EQ(loadMapsText(*reloaded, saved.data(), saved.size()), MapsFileStatus::Loaded);
        expectValues(*reloaded, file.maps, image);
        EXPECT_EQ(mapsFileText(*reloaded), saved);
    }
}

// What the plain import takes over, the complete one takes too (on a fresh
// store, where the plain import's untouched fields are empty).
TEST(XdfCompleteImport, TakesWhatThePlainImportTakes)
{
    const std::string path = (std::filesystem::path(TEST_DATA_DIR) / "export_150.xdf").string();
    auto plain = std::make_unique<DefinitionStore>();
    auto complete = std::make_unique<DefinitionStore>();
    ASSERT_EQ(importXdfFile(*plain, path), XdfImportStatus::Loaded);
    ASSERT_EQ(importCompleteXdfFile(*complete, path).status, XdfImportStatus::Loaded);
    const auto taken = [](const DefinitionStore& s) {
        std::ostringstream out;
        const DefinitionsHeader& h = s.header;
        out << h.fileversion << h.title << h.description << h.author << h.baseoffset << s.checksum.title
            << s.checksum.pluginid << s.formatVersion;
        for (int m = 0; m < 3; ++m) {
            out << '\n' << s.maps[m].title << '|' << s.maps[m].description;
            for (const AxisDefinition& a : s.maps[m].axes) {
                out << '|' << a.id << ',' << a.units << ',' << a.decimalpl << ',' << a.outputtype;
                for (int i = 0; i < kMaxLabels; ++i)
                    if (a.labels[i] != 0.0)
                        out << ' ' << i << '=' << a.labels[i];
            }
            out << '|' << s.maps[m].axes[AxisZ].embeddedinfotype;
        }
        return out.str();
    };
    EXPECT_EQ(taken(*complete), taken(*plain));
    for (int m = 0; m < 3; ++m) {
        for (AxisIndex a : {AxisX, AxisY}) {
            if (plain->maps[m].axes[a].count != 0) {   // where the file gives a count; else the cells' one or 1
                EXPECT_EQ(complete->maps[m].axes[a].count, plain->maps[m].axes[a].count);
            }
        }
    }
}

std::string xdf(const std::string& body, const std::string& version = "1.60")
{
    return "<XDFFORMAT version=\"" + version + "\"><XDFHEADER><DEFAULTS datasizeinbits=\"16\"/></XDFHEADER>" + body +
           "</XDFFORMAT>";
}

// A 4 x 2 table; `z` are the cells' EMBEDDEDDATA attributes.
std::string table(const std::string& z, const std::string& axes = "", const std::string& math = "")
{
    return "<XDFTABLE><title>t</title><XDFAXIS id=\"x\"><indexcount>4</indexcount></XDFAXIS><XDFAXIS id=\"y\">"
           "<indexcount>2</indexcount></XDFAXIS>" + axes + "<XDFAXIS id=\"z\"><EMBEDDEDDATA " + z + "/>" + math +
           "</XDFAXIS></XDFTABLE>";
}

// Tables or constants with an address.
std::string tables(int n, const std::string& element = "XDFTABLE")
{
    const std::string data = "<EMBEDDEDDATA mmedaddress=\"0x10\"/>";
    const std::string one = element == "XDFTABLE" ? "<XDFTABLE><XDFAXIS id=\"z\">" + data + "</XDFAXIS></XDFTABLE>"
                                                  : "<" + element + ">" + data + "</" + element + ">";
    std::string text;
    for (int i = 0; i < n; ++i)
        text += one;
    return text;
}

TEST(XdfCompleteImport, Rules)
{
    using Check = std::function<void(const DefinitionStore&, const XdfCompleteImport&)>;
    const auto cells = [](std::uint32_t address, int bits, int flags) -> Check {
        return [=](const DefinitionStore& s, const XdfCompleteImport&) {
            const AxisDefinition& z = s.maps[0].axes[AxisZ];
            EXPECT_EQ(std::tie(z.address, z.bits, z.flags), std::make_tuple(address, bits, flags));
        };
    };
    const auto scaling = [](double factor, double offset) -> Check {
        return [=](const DefinitionStore& s, const XdfCompleteImport&) {
            const AxisDefinition& z = s.maps[0].axes[AxisZ];
            EXPECT_DOUBLE_EQ(z.factor, factor);
            EXPECT_DOUBLE_EQ(z.offset, offset);
        };
    };
    const auto axisX = [](int source, std::uint32_t address) -> Check {
        return [=](const DefinitionStore& s, const XdfCompleteImport&) {
            const AxisDefinition& x = s.maps[0].axes[AxisX];
            EXPECT_EQ(std::tie(x.embeddedinfotype, x.address), std::make_tuple(source, address));
        };
    };
    const auto based = [](std::uint32_t address, std::uint32_t baseoffset) -> Check {
        return [=](const DefinitionStore& s, const XdfCompleteImport&) {
            EXPECT_EQ(std::tie(s.maps[0].axes[AxisZ].address, s.header.baseoffset), std::make_tuple(address, baseoffset));
        };
    };
    const auto message = [](std::string text) -> Check {
        return [=](const DefinitionStore&, const XdfCompleteImport& r) {
            EXPECT_EQ(xdfCompleteImportMessage(r).plain(), text);
        };
    };
    const auto rejected = [](const char* version, const char* text) -> Check {
        return [=](const DefinitionStore& s, const XdfCompleteImport& r) {
            EXPECT_EQ(std::tie(s.mapCount, s.formatVersion, s.maps[0].title), std::make_tuple(7, version, "old"));
            EXPECT_EQ(xdfCompleteImportMessage(r).plain(), text);
        };
    };
    const std::string a = "mmedaddress=\"0x100\" ";
    const std::string firstMaps = xdfImportStatusMessage(XdfImportStatus::LoadedToLimit);
    const std::string link = "<XDFAXIS id=\"x\"><indexcount>4</indexcount><embedinfo type=\"3\" linkobjid=\"0x7\"/></XDFAXIS>";
    // An X axis of 4 values stored at 0x40.
    const auto storedX = [](const std::string& data, const std::string& rest = "<embedinfo type=\"1\"/>") {
        return "<XDFAXIS id=\"x\"><indexcount>4</indexcount><EMBEDDEDDATA mmedaddress=\"0x40\"" + data + "/>" + rest +
               "</XDFAXIS>";
    };
    const auto linked = [&](const std::string& z) {
        return table(a, link) + "<XDFTABLE uniqueid=\"7\"><XDFAXIS id=\"z\"><EMBEDDEDDATA " + z + "/></XDFAXIS></XDFTABLE>";
    };

    struct Row { const char* name; std::string text; Check check; };
    const Row rows[] = {
        {"1.40 refused", xdf(table(a), "1.40"), rejected("1.40", "The definitions file version is not compatible!")},
        {"1.8 refused", xdf(table(a), "1.8"), rejected("1.8", "The definitions file version is not compatible!")},
        {"not well-formed", xdf("<XDFTABLE>"), rejected("old", "Unable to open definitions file!")},
        {"an earlier set leaves nothing behind",
         xdf("<XDFTABLE><XDFAXIS id=\"z\"><EMBEDDEDDATA " + a + "/></XDFAXIS></XDFTABLE>", "1.50"),
         [](const DefinitionStore& s, const XdfCompleteImport& r) {
             const MapDefinition& m = s.maps[0];
             EXPECT_EQ(std::tie(m.title, m.flags, m.axes[AxisZ].units, m.axes[AxisZ].decimalpl, m.axes[AxisX].count,
                                m.axes[AxisX].labels[3], m.axes[AxisZ].factor, m.axes[AxisZ].offset),
                       std::make_tuple("", 0, "", 0, 1, 0.0, 1.0, 0.0));
             EXPECT_EQ(xdfCompleteImportMessage(r).plain(), "Definitions file loaded: 1 map.");
         }},
        // Width, sign, byte order and data order: the cells' own flags, else the defaults.
        {"flags", xdf(table(a + "mmedtypeflags=\"0x07\" mmedelementsizebits=\"32\"")), cells(0x100, 32, 7)},
        {"flag bits beyond the store's", xdf(table(a + "mmedtypeflags=\"0xFF08\"")), cells(0x100, 16, 0)},
        {"more columns than a count holds", xdf("<XDFTABLE><XDFAXIS id=\"z\"><EMBEDDEDDATA " + a +
                                                "mmedcolcount=\"100000\"/></XDFAXIS></XDFTABLE>"),
         [](const DefinitionStore& s, const XdfCompleteImport&) {
             const MapDefinition& m = s.maps[0];
             EXPECT_EQ(std::tie(m.axes[AxisX].count, m.axes[AxisZ].address, m.axes[AxisZ].bits), std::make_tuple(0, 0, 0));
         }},
        {"defaults", "<XDFFORMAT version=\"1.80\"><XDFHEADER><DEFAULTS datasizeinbits=\"8\" signed=\"1\" lsbfirst=\"1\"/>"
                     "</XDFHEADER>" + table(a) + "</XDFFORMAT>", cells(0x100, 8, 3)},
        {"float by default", "<XDFFORMAT version=\"1.80\"><XDFHEADER><DEFAULTS datasizeinbits=\"32\" float=\"1\"/>"
                             "</XDFHEADER>" + table(a) + "</XDFFORMAT>", cells(0, 0, 0)},
        {"flags that are no number", xdf(table(a + "mmedtypeflags=\"two\"")), cells(0, 0, 0)},
        {"address that is no number", xdf(table("mmedaddress=\"0x\"")), cells(0, 0, 0)},
        {"address with letters after it", xdf(table("mmedaddress=\"256k\"")), cells(0, 0, 0)},
        {"address beyond 32 bits", xdf(table("mmedaddress=\"0x100000000\"")), cells(0, 0, 0)},
        {"address 0", xdf(table("mmedaddress=\"0\"")), cells(0, 16, 0)},
        {"hexadecimal without 0x", xdf(table("mmedaddress=\"1A00\" mmedtypeflags=\"13\"")), cells(0x1A00, 16, 3)},
        // Base offsets, modulo 2^32; the header keeps the one added.
        {"base offset wraps", "<XDFFORMAT version=\"1.60\"><XDFHEADER><BASEOFFSET offset=\"0x200\" subtract=\"0\"/>"
                              "<DEFAULTS datasizeinbits=\"8\"/></XDFHEADER>" + table("mmedaddress=\"0xFFFFFF00\"") +
                              "</XDFFORMAT>",
         based(0x100, 0x200)},
        {"base offset without 0x", "<XDFFORMAT version=\"1.70\"><XDFHEADER><BASEOFFSET offset=\"70000\" subtract=\"1\"/>"
                                   "</XDFHEADER>" + table("mmedaddress=\"70100\" mmedelementsizebits=\"8\"") + "</XDFFORMAT>",
         based(0x100, 0xFFF90000)},   // 0x70000 subtracted
        {"negative base offset of 1.50", "<XDFFORMAT version=\"1.50\"><XDFHEADER><baseoffset>-0x80</baseoffset>"
                                         "<DEFAULTS datasizeinbits=\"8\"/></XDFHEADER>" + table(a) + "</XDFFORMAT>",
         based(0x80, 0xFFFFFF80)},
        // All of a 1.50 offset counts, however long its text.
        {"long base offset of 1.50", "<XDFFORMAT version=\"1.50\"><XDFHEADER><baseoffset>0x0000070000</baseoffset>"
                                     "<DEFAULTS datasizeinbits=\"8\"/></XDFHEADER>" + table("mmedaddress=\"0x100\"") + "</XDFFORMAT>",
         based(0x70100, 0x70000)},
        {"long negative base offset of 1.50", "<XDFFORMAT version=\"1.50\"><XDFHEADER><baseoffset>-2147483648</baseoffset>"
                                              "<DEFAULTS datasizeinbits=\"8\"/></XDFHEADER>" +
                                              table("mmedaddress=\"0x80000100\"") + "</XDFFORMAT>",
         based(0x100, 0x80000000)},
        // Strides, row by row (4 cells of 16 bits a row) and column by column (2).
        {"whole row", xdf(table(a + "mmedmajorstridebits=\"64\" mmedminorstridebits=\"16\"")), cells(0x100, 16, 0)},
        {"gap between rows", xdf(table(a + "mmedmajorstridebits=\"80\"")), cells(0, 0, 0)},
        {"whole column", xdf(table(a + "mmedtypeflags=\"4\" mmedmajorstridebits=\"32\"")), cells(0x100, 16, 4)},
        {"row stride on columns", xdf(table(a + "mmedtypeflags=\"4\" mmedmajorstridebits=\"64\"")), cells(0, 0, 4)},
        {"gap between cells", xdf(table(a + "mmedminorstridebits=\"32\"")), cells(0, 0, 0)},
        {"-32 on cells", xdf(table(a + "mmedmajorstridebits=\"-32\"")), cells(0, 0, 0)},
        {"stride that is no number", xdf(table(a + "mmedminorstridebits=\"16 \"")), cells(0, 0, 0)},
        {"one row: any row stride",
         xdf("<XDFTABLE><XDFAXIS id=\"x\"><indexcount>4</indexcount></XDFAXIS><XDFAXIS id=\"z\"><EMBEDDEDDATA " + a +
             "mmedmajorstridebits=\"999\"/></XDFAXIS></XDFTABLE>"),
         cells(0x100, 16, 0)},
        {"counts from the cells where the axes give none",
         xdf("<XDFTABLE><XDFAXIS id=\"z\"><EMBEDDEDDATA " + a + "mmedrowcount=\"3\" mmedcolcount=\"5\"/></XDFAXIS></XDFTABLE>"),
         [](const DefinitionStore& s, const XdfCompleteImport&) {
             EXPECT_EQ(std::tie(s.maps[0].axes[AxisX].count, s.maps[0].axes[AxisY].count), std::make_tuple(5, 3));
         }},
        {"row counts disagree", xdf(table(a + "mmedrowcount=\"3\"")), cells(0, 0, 0)},
        {"a count beyond 16 bits",
         xdf("<XDFTABLE><XDFAXIS id=\"x\"><indexcount>65537</indexcount></XDFAXIS><XDFAXIS id=\"z\"><EMBEDDEDDATA " + a +
             "/></XDFAXIS></XDFTABLE>"),
         cells(0, 0, 0)},
        // Scaling: the cell variable is the one without a type; none means X.
        {"offset is b / a", xdf(table(a, "", "<MATH equation=\"X*0.75-48\"><VAR id=\"X\"/></MATH>")), scaling(0.75, -64)},
        {"typed variable first",
         xdf(table(a, "", "<MATH equation=\"v*2+A\"><VAR id=\"A\" type=\"address\"/><VAR id=\"v\"/></MATH>")),
         scaling(1, 0)},
        {"untyped variable chosen",
         xdf(table(a, "", "<MATH equation=\"v*2+1\"><VAR id=\"A\" type=\"address\"/><VAR id=\"v\"/></MATH>")),
         scaling(2, 0.5)},
        {"no variable element", xdf(table(a, "", "<MATH equation=\"x*4\"/>")), scaling(4, 0)},
        {"no equation", xdf(table(a, "", "<MATH><VAR id=\"X\"/></MATH>")), message("Definitions file loaded: 1 map; 1 needs its scaling set by hand.")},
        // Axes.
        {"stored axis", xdf(table(a, storedX(" mmedmajorstridebits=\"-32\""))), axisX(SourceEmbedded, 0x40)},
        {"stored axis, values apart", xdf(table(a, storedX(" mmedminorstridebits=\"32\""))), axisX(SourceManual, 0)},
        {"stored axis, one row: any row stride", xdf(table(a, storedX(" mmedcolcount=\"4\" mmedmajorstridebits=\"99\""))),
         axisX(SourceEmbedded, 0x40)},
        {"stored axis, one column", xdf(table(a, storedX(" mmedrowcount=\"4\" mmedmajorstridebits=\"16\""))),
         axisX(SourceEmbedded, 0x40)},
        {"stored axis, one column, values apart",
         xdf(table(a, storedX(" mmedrowcount=\"4\" mmedmajorstridebits=\"64\""))), axisX(SourceManual, 0)},
        {"stored axis, fewer values than labels", xdf(table(a, storedX(" mmedcolcount=\"3\""))), axisX(SourceManual, 0)},
        {"stored axis, floating point", xdf(table(a, storedX(" mmedtypeflags=\"0x10000\""))), axisX(SourceManual, 0)},
        {"stored axis, not linear: counted", xdf(table(a, storedX("", "<embedinfo type=\"1\"/><MATH equation=\"X*X\"/>"))),
         message("Definitions file loaded: 1 map; 1 needs its scaling set by hand.")},
        {"type 2 is kept as labels", xdf(table(a, storedX("", "<embedinfo type=\"2\"/>"))), axisX(SourceManual, 0)},
        {"linked row", xdf(linked("mmedaddress=\"0x80\" mmedcolcount=\"4\"")), axisX(SourceEmbedded, 0x80)},
        {"linked column", xdf(linked("mmedaddress=\"0x80\" mmedrowcount=\"5\"")), axisX(SourceEmbedded, 0x80)},
        {"linked block", xdf(linked("mmedaddress=\"0x80\" mmedrowcount=\"2\" mmedcolcount=\"2\"")), axisX(SourceManual, 0)},
        {"linked, too few", xdf(linked("mmedaddress=\"0x80\" mmedcolcount=\"3\"")), axisX(SourceManual, 0)},
        {"linked, no address", xdf(linked("mmedcolcount=\"4\"")), axisX(SourceManual, 0)},
        // The slots' limit: tables first, then constants with an address while slots remain.
        {"constants after tables", xdf(tables(2, "XDFCONSTANT") + "<XDFCONSTANT/>" + tables(kMaxMaps - 1)),
         [&](const DefinitionStore& s, const XdfCompleteImport& r) {
             EXPECT_EQ(std::tie(s.mapCount, s.maps[kMaxMaps - 1].axes[AxisX].count), std::make_tuple(kMaxMaps, 1));
             EXPECT_EQ(xdfCompleteImportMessage(r).plain(), firstMaps + " 1 constant did not fit.");
         }},
        {"tables beyond the slots", xdf(tables(kMaxMaps + 2) + tables(3, "XDFCONSTANT")),
         [&](const DefinitionStore& s, const XdfCompleteImport& r) {
             EXPECT_EQ(s.mapCount, kMaxMaps);
             EXPECT_EQ(r.status, XdfImportStatus::LoadedToLimit);
             EXPECT_EQ(xdfCompleteImportMessage(r).plain(), firstMaps + " 2 tables and 3 constants did not fit.");
         }},
        {"one table beyond, no address", xdf(tables(kMaxMaps) + "<XDFTABLE/>"),
         message(firstMaps + " 1 table did not fit.")},
        {"what is left by hand",
         xdf("<XDFTABLE/><XDFTABLE/>" + table(a, "", "<MATH equation=\"1/X\"/>") + "<XDFTABLE><XDFAXIS id=\"z\">"
             "<MATH equation=\"exp(X)\"/></XDFAXIS></XDFTABLE>"),
         message("Definitions file loaded: 4 maps; 2 need their scaling and 3 their address set by hand.")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto store = std::make_unique<DefinitionStore>();
        store->mapCount = 7;
        store->formatVersion = "old";
        for (int i = 0; i < 300; ++i) {   // past every row's maps but the slot limit's
            MapDefinition& m = store->maps[i];
            m.title = "old";
            m.flags = 9;
            for (AxisDefinition& axis : m.axes) {
                axis = {"old", 5, 0xABC, 99, "old", 7, 77, 9, 6, {}, 99.0, -99.0};
                axis.labels.fill(-99.0);
            }
        }
        const XdfCompleteImport result = importCompleteXdfText(*store, row.text.data(), row.text.size());
        row.check(*store, result);
    }
}

} // namespace
