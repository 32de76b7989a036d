#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "cells/plot_export.h"
#include "test_support.h"

namespace {

std::string run(const std::string& command, int& status)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
        output += static_cast<char>(c);
    status = pipe ? pclose(pipe) : -1;
    return output;
}

MapDefinition titled(const std::string& title, const std::string& x, const std::string& y, const std::string& z)
{
    MapDefinition map;
    map.title = title;
    map.axes[AxisX].units = x;
    map.axes[AxisY].units = y;
    map.axes[AxisZ].units = z;
    return map;
}

const std::string kRest = "set pm3d\nsplot \"3d_data.gnuplot\" with lines\n";

TEST(PlotExport, ScriptDataAndFiles)
{
    EXPECT_EQ(plotScript(titled("Spark", "RPM", "kPa", "\xC2\xB0")),
              "set title \"Spark\"\nset xlabel \"RPM\"\nset ylabel \"kPa\"\nset zlabel \"\xC2\xB0\"\n" + kRest);
    EXPECT_EQ(plotScript(titled("\"; system \"x\"; \"", "`id`", "a\\", "1\n2")),
              "set title \"\\\"; system \\\"x\\\"; \\\"\"\nset xlabel \"\\140id\\140\"\nset ylabel \"a\\\\\"\n"
              "set zlabel \"1\\0122\"\n" + kRest);
    const char* columns[] = {"1000", "2000"};
    const char* rows[] = {"10", "20", "30"};
    EXPECT_EQ(plotData(3, 2, [&](int c) { return columns[c]; }, [&](int r) { return rows[r]; },
                       [](int r, int c) { return std::to_string(c * 3 + r) + ".5"; }),
              "1000 10 0.5\n1000 20 1.5\n1000 30 2.5\n\n2000 10 3.5\n2000 20 4.5\n2000 30 5.5\n\n");

    TempDir dir;
    const std::string folder = dir.path().string();
    const auto fileIs = [&](const char* name, const char* text) { return readText(dir.file(name)) == text; };
    // A second export replaces both files; a link in a file's place is replaced, not followed.
    std::filesystem::create_symlink(dir.file("target"), dir.file("3d_plot"));
    EXPECT_EQ(writePlotFiles("s1\n", "d1\n", folder), PlotStatus::Written);
    EXPECT_EQ(writePlotFiles("s2\n", "d2\n", folder), PlotStatus::Written);
    EXPECT_TRUE(fileIs("3d_plot", "s2\n") && fileIs("3d_data.gnuplot", "d2\n"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("target")));
    // A folder in a file's place stops the export there.
    std::filesystem::remove(dir.file("3d_plot"));
    std::filesystem::create_directories(dir.path() / "3d_plot" / "keep");
    EXPECT_EQ(writePlotFiles("s3\n", "d3\n", folder), PlotStatus::ScriptCreateError);
    EXPECT_TRUE(fileIs("3d_data.gnuplot", "d2\n"));
    std::filesystem::remove_all(dir.path() / "3d_plot");
    std::filesystem::remove(dir.file("3d_data.gnuplot"));
    std::filesystem::create_directories(dir.path() / "3d_data.gnuplot" / "keep");
    EXPECT_EQ(writePlotFiles("s4\n", "d4\n", folder), PlotStatus::DataCreateError);
    EXPECT_TRUE(fileIs("3d_plot", "s4\n"));
}

// The real gnuplot reads the escaped texts back as they were, runs nothing
// they hold, and draws the written files.
TEST(PlotExport, GnuplotDrawsTheFilesAndRunsNothingFromTheTexts)
{
    TempDir dir;
    const std::string texts[] = {"\"; system \"touch pwned1\"; \"", "`touch pwned2`", "x\nsystem \"touch pwned3\"",
                                 "\\\"; system \"touch pwned4\" #", "@t $1 \xC2\xB0" "C \x01\x7F`1 back\\"};
    std::string script = "set print \"-\"\n", expected;
    for (const std::string& text : texts) {
        script += "print \"" + gnuplotStringContent(text) + "\"\n";
        expected += text + "\n";
    }
    writeText(dir.file("print.gp"), script);
    const std::string cd = "cd '" + dir.path().string() + "' && ";
    int status = 0;
    EXPECT_EQ(run(cd + "gnuplot print.gp </dev/null 2>/dev/null", status), expected);
    EXPECT_EQ(status, 0);

    ASSERT_EQ(writePlotFiles(plotScript(titled(texts[0], texts[1], texts[2], texts[3])),
                             plotData(3, 2, [](int c) { return std::to_string(1000 * c); },
                                      [](int r) { return std::to_string(10 * r); },
                                      [](int r, int c) { return std::to_string(r * c) + ".25"; }),
                             dir.path().string()),
              PlotStatus::Written);
    EXPECT_EQ(run(cd + "gnuplot -e \"set terminal pngcairo; set output 'p.png'\" 3d_plot </dev/null 2>&1", status), "");
    EXPECT_EQ(status, 0);
    EXPECT_EQ(readText(dir.file("p.png")).substr(0, 4), "\x89PNG");
    EXPECT_GT(std::filesystem::file_size(dir.file("p.png")), 1000u);
    for (const char* name : {"pwned1", "pwned2", "pwned3", "pwned4"})
        EXPECT_FALSE(std::filesystem::exists(dir.path() / name)) << name;
}

} // namespace
