#include "common/file_name.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "test_support.h"

TEST(FileName, DefaultExtension)
{
    const std::pair<const char*, const char*> rows[] = {
        {"/home/u/set", "/home/u/set.xts"}, {"set", "set.xts"}, {"/a.d/set", "/a.d/set.xts"},
        {"/a/.set", "/a/.set.xts"}, {"/a/set.xts", "/a/set.xts"}, {"/a/set.XTS", "/a/set.XTS"},
        {"/a/set.old", "/a/set.old"}, {"/a/set.", "/a/set."}, {"/a/", "/a/"}, {"", ""},
        {"/a/set.bak1", "/a/set.bak1"}, {"/a/MSS54 v2.1", "/a/MSS54 v2.1.xts"}, {"/a/golf 1.8T", "/a/golf 1.8T.xts"},
        {"/a/set.backup", "/a/set.backup.xts"}, {"/a/set.o-l", "/a/set.o-l.xts"},
    };
    for (const auto& [typed, completed] : rows)
        EXPECT_EQ(withDefaultExtension(typed, ".xts"), completed) << typed;
}

TEST(FileName, SameFileHoweverSpelled)
{
    TempDir dir;
    namespace fs = std::filesystem;
    writeText(dir.file("a.bin"), "a");
    writeText(dir.file("b.bin"), "b");
    fs::create_directory_symlink(dir.path(), dir.file("folder"));
    fs::create_symlink(dir.file("a.bin"), dir.file("link.bin"));
    fs::create_hard_link(dir.file("a.bin"), dir.file("hard.bin"));
    const std::pair<std::string, bool> rows[] = {
        {dir.file("a.bin"), true},        {dir.file("folder/a.bin"), true}, {dir.file("link.bin"), true},
        {dir.file("hard.bin"), true},     {dir.file("b.bin"), false},       {dir.file("missing.bin"), false},
        {"", false},
    };
    for (const auto& [other, same] : rows)
        EXPECT_EQ(sameFile(dir.file("a.bin"), other), same) << other;
    EXPECT_TRUE(sameFile("missing.bin", "missing.bin"));   // no file: the text decides
}
