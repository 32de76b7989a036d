#include "common/file_name.h"

#include <gtest/gtest.h>

TEST(FileName, DefaultExtension)
{
    const std::pair<const char*, const char*> rows[] = {
        {"/home/u/set", "/home/u/set.xts"}, {"set", "set.xts"}, {"/a.d/set", "/a.d/set.xts"},
        {"/a/.set", "/a/.set.xts"}, {"/a/set.xts", "/a/set.xts"}, {"/a/set.XTS", "/a/set.XTS"},
        {"/a/set.old", "/a/set.old"}, {"/a/set.", "/a/set."}, {"/a/", "/a/"}, {"", ""},
    };
    for (const auto& [typed, completed] : rows)
        EXPECT_EQ(withDefaultExtension(typed, ".xts"), completed) << typed;
}
