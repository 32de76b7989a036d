#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "common/safe_file.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// Installs a write hook for one test and always removes it again.
class WriteFault {
public:
    explicit WriteFault(WriteFaultHook hook) { setWriteFaultHookForTesting(std::move(hook)); }
    ~WriteFault() { setWriteFaultHookForTesting({}); }
};

bool replace(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    return replaceFileContents(path, bytes.data(), bytes.size());
}

std::vector<std::string> entries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t modeOf(const std::string& path)
{
    struct stat st {};
    stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(ReplaceFileContents, CreatesNewFileWithDefaultPermissions)
{
    TempDir dir;
    const std::string path = dir.file("new.bin");
    const auto bytes = randomBytes(1000, 3);
    ASSERT_TRUE(replace(path, bytes));
    EXPECT_EQ(readBytes(path), bytes);

    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(modeOf(path), 0666 & ~mask);
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"new.bin"});
}

TEST(ReplaceFileContents, ReplacesAndKeepsPermissions)
{
    for (mode_t mode : {0600, 0640, 0751}) {
        TempDir dir;
        const std::string path = dir.file("image.bin");
        writeBytes(path, randomBytes(5000, 1));
        ASSERT_EQ(chmod(path.c_str(), mode), 0);

        const auto bytes = randomBytes(300, 2);   // shorter than the old file
        ASSERT_TRUE(replace(path, bytes)) << std::oct << mode;
        EXPECT_EQ(readBytes(path), bytes);
        EXPECT_EQ(modeOf(path), mode);
    }
}

TEST(ReplaceFileContents, ShortWriteLeavesOldFileIntact)
{
    // Short on the first call, and short after some progress.
    const std::vector<std::pair<const char*, WriteFaultHook>> faults = {
        {"nothing written", [](std::size_t) { return std::size_t{0}; }},
        {"one byte short", [](std::size_t n) { return n - 1; }},
    };
    for (const auto& [name, hook] : faults) {
        SCOPED_TRACE(name);
        TempDir dir;
        const std::string path = dir.file("image.bin");
        const auto old = randomBytes(4096, 5);
        writeBytes(path, old);

        WriteFault fault(hook);
        EXPECT_FALSE(replace(path, randomBytes(8192, 6)));
        EXPECT_EQ(readBytes(path), old);
        EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"image.bin"});
    }
}

TEST(ReplaceFileContents, LongestFileName)
{
    TempDir dir;
    const std::string path = dir.file(std::string(255, 'n'));
    ASSERT_TRUE(replace(path, {1, 2, 3}));
    EXPECT_EQ(readBytes(path), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(ReplaceFileContents, FollowsSymbolicLinks)
{
    TempDir dir;
    fs::create_directory(dir.path() / "real");
    const std::string target = dir.file("real/image.bin");
    writeBytes(target, {1, 2, 3});
    ASSERT_EQ(chmod(target.c_str(), 0604), 0);
    // A relative link, and a link to that link.
    fs::create_symlink("real/image.bin", dir.path() / "link.bin");
    fs::create_symlink(dir.path() / "link.bin", dir.path() / "link2.bin");

    const auto bytes = randomBytes(777, 9);
    ASSERT_TRUE(replace(dir.file("link2.bin"), bytes));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.bin"));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link2.bin"));
    EXPECT_EQ(readBytes(target), bytes);
    EXPECT_EQ(modeOf(target), 0604u);
    EXPECT_EQ(entries(dir.path() / "real"), std::vector<std::string>{"image.bin"});
}

TEST(ReplaceFileContents, DanglingLinkCreatesItsTarget)
{
    TempDir dir;
    fs::create_symlink("missing.bin", dir.path() / "link.bin");
    const auto bytes = randomBytes(10, 4);
    ASSERT_TRUE(replace(dir.file("link.bin"), bytes));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "link.bin"));
    EXPECT_EQ(readBytes(dir.file("missing.bin")), bytes);
}

TEST(ReplaceFileContents, LinkLoopFails)
{
    TempDir dir;
    fs::create_symlink("b", dir.path() / "a");
    fs::create_symlink("a", dir.path() / "b");
    EXPECT_FALSE(replace(dir.file("a"), {1}));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "a"));
}

TEST(ReplaceFileContents, UnwritableTargetsFailCleanly)
{
    TempDir dir;
    EXPECT_FALSE(replace(dir.file("no/such/folder/image.bin"), {1, 2}));
    EXPECT_FALSE(fs::exists(dir.path() / "no"));

    fs::create_directory(dir.path() / "folder");
    EXPECT_FALSE(replace(dir.file("folder"), {1, 2}));
    EXPECT_TRUE(fs::is_directory(dir.path() / "folder"));

    EXPECT_FALSE(replace("", {1, 2}));
}

TEST(ReplaceFileContents, ReadOnlyFolderLeavesOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    TempDir dir;
    const std::string path = dir.file("image.bin");
    const auto old = randomBytes(100, 8);
    writeBytes(path, old);
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    EXPECT_FALSE(replace(path, randomBytes(100, 9)));
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"image.bin"});
}

} // namespace
