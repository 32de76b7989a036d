// A large XDF v1.50 export: 250 tables with 72-value axes and 2,000
// constants, about 3 MB of Windows-1252 text, imported from a file by the
// plain import and by the one with addresses and scaling.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "definitions/xdf_complete_import.h"
#include "definitions/xdf_import.h"
#include "test_support.h"

namespace {

std::string axisText(const char* id, int count, unsigned address)
{
    char head[400];
    std::snprintf(head, sizeof head,
                  "    <XDFAXIS id=\"%s\" uniqueid=\"0x0\">\r\n"
                  "      <EMBEDDEDDATA mmedtypeflags=\"0x02\" mmedaddress=\"0x%X\" mmedelementsizebits=\"16\" "
                  "mmedmajorstridebits=\"0\" mmedminorstridebits=\"0\" />\r\n"
                  "      <units>\xB0" "C</units>\r\n      <indexcount>%d</indexcount>\r\n"
                  "      <decimalpl>1</decimalpl>\r\n      <embedinfo type=\"1\" />\r\n",
                  id, address, count);
    std::string text = head;
    for (int i = 0; i < count; ++i) {
        char label[64];
        std::snprintf(label, sizeof label, "      <LABEL index=\"%d\" value=\"%.2f\" />\r\n", i, i * 12.5 - 40);
        text += label;
    }
    return text + "      <MATH equation=\"X*0.1\">\r\n        <VAR id=\"X\" />\r\n      </MATH>\r\n    </XDFAXIS>\r\n";
}

std::string largeExport(int tables, int constants)
{
    std::string text = "<!-- Written 03/14/2021 10:22:31 -->\r\n<XDFFORMAT version=\"1.50\">\r\n"
                       "  <XDFHEADER>\r\n    <deftitle>Large set</deftitle>\r\n    <baseoffset>0</baseoffset>\r\n"
                       "    <DEFAULTS datasizeinbits=\"8\" sigdigits=\"2\" outputtype=\"1\" />\r\n  </XDFHEADER>\r\n";
    for (int c = 0; c < constants; ++c) {
        char constant[1024];
        std::snprintf(constant, sizeof constant,
                      "  <XDFCONSTANT uniqueid=\"0x%X\" flags=\"0x0\">\r\n    <title>Constant %d</title>\r\n"
                      "    <description>Limit number %d of the calibration, kept as the maker set it</description>\r\n"
                      "    <CATEGORYMEM index=\"0\" category=\"%d\" />\r\n"
                      "    <EMBEDDEDDATA mmedaddress=\"0x%X\" mmedelementsizebits=\"16\" mmedmajorstridebits=\"0\" "
                      "mmedminorstridebits=\"0\" />\r\n    <units>\xB0" "C</units>\r\n    <decimalpl>2</decimalpl>\r\n"
                      "    <datatype>0</datatype>\r\n    <unittype>0</unittype>\r\n    <DALINK index=\"0\" />\r\n"
                      "    <MATH equation=\"X*0.75-48\">\r\n      <VAR id=\"X\" />\r\n    </MATH>\r\n"
                      "  </XDFCONSTANT>\r\n",
                      0x1000 + c, c, c, c % 8, 0x10000 + 2 * c);
        text += constant;
    }
    for (int t = 0; t < tables; ++t) {
        char head[512];
        std::snprintf(head, sizeof head,
                      "  <XDFTABLE uniqueid=\"0x%X\" flags=\"0x30\">\r\n    <title>Table %d</title>\r\n"
                      "    <description>Map number %d over engine speed and load</description>\r\n"
                      "    <CATEGORYMEM index=\"0\" category=\"%d\" />\r\n",
                      0x8000 + t, t, t, t % 8);
        text += head;
        const unsigned base = 0x20000 + static_cast<unsigned>(t) * 0x2000;
        text += axisText("x", 72, base);
        text += axisText("y", 72, base + 0x80);
        // One equation in 40 is not linear, as in real files.
        text += "    <XDFAXIS id=\"z\">\r\n      <EMBEDDEDDATA mmedtypeflags=\"0x02\" mmedaddress=\"0x" +
                std::to_string(base + 0x100) + "\" mmedelementsizebits=\"16\" mmedrowcount=\"72\" "
                "mmedcolcount=\"72\" />\r\n      <units>\xB0KW</units>\r\n      <decimalpl>2</decimalpl>\r\n"
                "      <outputtype>1</outputtype>\r\n      <MATH equation=\"" +
                (t % 40 == 0 ? "(X-A)*0.75" : "X*0.75 - 48") + "\">\r\n"
                "        <VAR id=\"X\" />\r\n        <VAR id=\"A\" type=\"address\" address=\"0x1C4B0\" "
                "sizeinbits=\"8\" flags=\"0x0\" />\r\n      </MATH>\r\n    </XDFAXIS>\r\n  </XDFTABLE>\r\n";
    }
    return text + "  <XDFCHECKSUM>\r\n    <title>Main</title>\r\n    <REGION>\r\n      <pluginmoduleid>"
                  "9b6fa911-da49-1953-b6c0-1c7d3a9cf003</pluginmoduleid>\r\n    </REGION>\r\n  </XDFCHECKSUM>\r\n"
                  "</XDFFORMAT>\r\n";
}

void BM_ImportLargeXdfFile(benchmark::State& state)
{
    TempDir dir;
    const std::string text = largeExport(250, 2000);
    writeText(dir.file("large.xdf"), text);
    auto store = std::make_unique<DefinitionStore>();
    for (auto _ : state)
        if (importXdfFile(*store, dir.file("large.xdf")) != XdfImportStatus::Loaded || store->mapCount != 250)
            state.SkipWithError("import failed");
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ImportLargeXdfFile)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

void BM_ImportLargeXdfFileComplete(benchmark::State& state)
{
    TempDir dir;
    const std::string text = largeExport(250, 2000);
    writeText(dir.file("large.xdf"), text);
    auto store = std::make_unique<DefinitionStore>();
    const int maps = std::min(250 + 2000, kMaxMaps);
    for (auto _ : state) {
        const XdfCompleteImport r = importCompleteXdfFile(*store, dir.file("large.xdf"));
        if (r.status != XdfImportStatus::Loaded || r.maps != maps || r.needAddress != 0 || r.needScaling != 7)
            state.SkipWithError("import failed");
    }
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ImportLargeXdfFileComplete)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly();

// A hostile shape: 2,000 tables whose axes all link to one table of 200,000
// axes (2 MB). Each linked table is read once, so this costs about what the
// parse does; read per link it took 42 s.
void BM_ImportManyLinksToOneLongTable(benchmark::State& state)
{
    std::string text = "<XDFFORMAT version=\"1.60\"><XDFTABLE uniqueid=\"1\">";
    for (int i = 0; i < 200000; ++i)
        text += "<XDFAXIS/>";
    text += "</XDFTABLE>";
    for (int i = 0; i < 2000; ++i)
        text += "<XDFTABLE><XDFAXIS id=\"x\"><embedinfo type=\"3\" linkobjid=\"1\"/></XDFAXIS>"
                "<XDFAXIS id=\"y\"><embedinfo type=\"3\" linkobjid=\"1\"/></XDFAXIS></XDFTABLE>";
    text += "</XDFFORMAT>";
    auto store = std::make_unique<DefinitionStore>();
    for (auto _ : state)
        if (importCompleteXdfText(*store, text.data(), text.size()).status != XdfImportStatus::Loaded)
            state.SkipWithError("import failed");
    state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ImportManyLinksToOneLongTable)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
