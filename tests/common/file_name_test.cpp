#include "common/file_name.h"

#include <gtest/gtest.h>

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
