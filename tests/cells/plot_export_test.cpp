#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "cells/plot_export.h"
#include "test_support.h"

namespace {

// Runs a shell command and returns its standard output.
std::string run(const std::string& command, int& status)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        status = -1;
        return output;
    }
    char buffer[4096];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    status = pclose(pipe);
    return output;
}

MapDefinition titledMap(const std::string& title, const std::string& x, const std::string& y, const std::string& z)
{
    MapDefinition map;
    map.title = title;
    map.axes[AxisX].units = x;
    map.axes[AxisY].units = y;
    map.axes[AxisZ].units = z;
    return map;
}

TEST(PlotExport, ScriptAndDataTexts)
{
    EXPECT_EQ(plotScript(titledMap("Ignition advance", "RPM", "kPa", "\xC2\xB0" "BTDC")),
              "set title \"Ignition advance\"\n"
              "set xlabel \"RPM\"\n"
              "set ylabel \"kPa\"\n"
              "set zlabel \"\xC2\xB0" "BTDC\"\n"
              "set pm3d\n"
              "splot \"3d_data.gnuplot\" with lines\n");
    EXPECT_EQ(plotScript(titledMap("\"; system \"touch pwned\"; \"", "`id`", "a\\", "1\n2")),
              "set title \"\\\"; system \\\"touch pwned\\\"; \\\"\"\n"
              "set xlabel \"\\140id\\140\"\n"
              "set ylabel \"a\\\\\"\n"
              "set zlabel \"1\\0122\"\n"
              "set pm3d\n"
              "splot \"3d_data.gnuplot\" with lines\n");

    const char* columns[] = {"1000", "2000"};
    const char* rows[] = {"10", "20", "30"};
    EXPECT_EQ(plotData(
                  3, 2, [&](int c) { return columns[c]; }, [&](int r) { return rows[r]; },
                  [](int r, int c) { return std::to_string(c * 3 + r) + ".5"; }),
              "1000 10 0.5\n1000 20 1.5\n1000 30 2.5\n\n"
              "2000 10 3.5\n2000 20 4.5\n2000 30 5.5\n\n");
}

TEST(PlotExport, WritesBothFilesOrStopsAtTheFirstFailure)
{
    TempDir dir;
    const std::string folder = dir.path().string();
    EXPECT_EQ(writePlotFiles("script 1\n", "data 1\n", folder), PlotStatus::Written);
    EXPECT_EQ(writePlotFiles("script 2\n", "data 2\n", folder), PlotStatus::Written);
    EXPECT_EQ(readText(dir.file("3d_plot")), "script 2\n");
    EXPECT_EQ(readText(dir.file("3d_data.gnuplot")), "data 2\n");

    // A link left in a file's place is replaced, never followed.
    std::filesystem::remove(dir.file("3d_plot"));
    std::filesystem::create_symlink(dir.file("target"), dir.file("3d_plot"));
    EXPECT_EQ(writePlotFiles("script 3\n", "data 3\n", folder), PlotStatus::Written);
    EXPECT_FALSE(std::filesystem::exists(dir.file("target")));

    // A folder in a file's place cannot be replaced.
    std::filesystem::remove(dir.file("3d_plot"));
    std::filesystem::create_directories(dir.path() / "3d_plot" / "keep");
    EXPECT_EQ(writePlotFiles("script 4\n", "data 4\n", folder), PlotStatus::ScriptCreateError);
    EXPECT_EQ(readText(dir.file("3d_data.gnuplot")), "data 3\n");
    std::filesystem::remove_all(dir.path() / "3d_plot");
    std::filesystem::remove(dir.file("3d_data.gnuplot"));
    std::filesystem::create_directories(dir.path() / "3d_data.gnuplot" / "keep");
    EXPECT_EQ(writePlotFiles("script 5\n", "data 5\n", folder), PlotStatus::DataCreateError);
    EXPECT_EQ(readText(dir.file("3d_plot")), "script 5\n");

    const std::pair<PlotStatus, const char*> messages[] = {
        {PlotStatus::ScriptCreateError, "Error creating file '3d_plot'!"},
        {PlotStatus::ScriptWriteError, "Error writing file '3d_plot'!"},
        {PlotStatus::ScriptCloseError, "Error closing file '3d_plot'!"},
        {PlotStatus::DataCreateError, "Error creating file '3d_data.gnuplot'!"},
        {PlotStatus::DataWriteError, "Error writing file '3d_data.gnuplot'!"},
        {PlotStatus::DataCloseError, "Error closing file '3d_data.gnuplot'!"},
    };
    for (const auto& [status, message] : messages)
        EXPECT_STREQ(plotStatusMessage(status), message);
    EXPECT_EQ(plotStatusMessage(PlotStatus::Written), nullptr);
}

// The real gnuplot reads the escaped texts back literally, runs nothing they
// hold, and draws the written files.
TEST(PlotExport, GnuplotDrawsTheFilesAndRunsNothingFromTheTexts)
{
    TempDir dir;
    const std::string texts[] = {
        "\"; system \"touch pwned1\"; \"",
        "`touch pwned2`",
        "x\nsystem \"touch pwned3\"",
        "back\\slash\\",
        "\\\"; system \"touch pwned4\" #",
        "@title $1 \xC2\xB0" "C \x01\x7F`1",
    };
    std::string printScript = "set print \"-\"\n";
    std::string expected;
    for (const std::string& text : texts) {
        printScript += "print \"" + gnuplotStringContent(text) + "\"\n";
        expected += text + "\n";
    }
    writeText(dir.file("print.gp"), printScript);
    const std::string cd = "cd '" + dir.path().string() + "' && ";
    int status = 0;
    EXPECT_EQ(run(cd + "gnuplot print.gp </dev/null 2>/dev/null", status), expected);
    EXPECT_EQ(status, 0);

    const MapDefinition map = titledMap(texts[0], texts[1], texts[2], texts[4]);
    ASSERT_EQ(writePlotFiles(plotScript(map),
                             plotData(
                                 3, 2, [](int c) { return std::to_string(1000 * (c + 1)); },
                                 [](int r) { return std::to_string(10 * (r + 1)); },
                                 [](int r, int c) { return std::to_string(r * c) + ".25"; }),
                             dir.path().string()),
              PlotStatus::Written);
    const std::string errors =
        run(cd + "gnuplot -e \"set terminal pngcairo; set output 'plot.png'\" 3d_plot </dev/null 2>&1", status);
    EXPECT_EQ(status, 0) << errors;
    EXPECT_EQ(errors, "");
    const std::string png = readText(dir.file("plot.png"));
    EXPECT_GT(png.size(), 1000u);
    EXPECT_EQ(png.substr(0, 4), "\x89PNG");
    for (const char* name : {"pwned1", "pwned2", "pwned3", "pwned4"})
        EXPECT_FALSE(std::filesystem::exists(dir.path() / name)) << name;
}

} // namespace
