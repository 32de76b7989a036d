#include <gtest/gtest.h>

#include <functional>

#include <grp.h>
#include <sys/resource.h>
#include <sys/xattr.h>
#include <sys/stat.h>
#include <sys/wait.h>
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

// A new file takes the default permissions, a replaced one (longer than the
// new bytes) keeps its own.
TEST(ReplaceFileContents, WritesTheBytesWithThePermissionsTheFileHad)
{
    const mode_t mask = umask(0);
    umask(mask);
    const struct {
        std::string name;
        mode_t before;   // 0: no file yet
        std::vector<std::uint8_t> bytes;
    } rows[] = {
        {"new.bin", 0, randomBytes(1000, 3)}, {std::string(255, 'n'), 0, {1, 2, 3}},   // the longest name
        {"image.bin", 0600, randomBytes(300, 2)}, {"image.bin", 0640, randomBytes(300, 2)},
        {"image.bin", 0751, randomBytes(300, 2)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.name.substr(0, 9) << ", mode before " << std::oct << row.before);
        TempDir dir;
        const std::string path = dir.file(row.name);
        if (row.before) {
            writeBytes(path, randomBytes(5000, 1));
            ASSERT_EQ(chmod(path.c_str(), row.before), 0);
        }
        ASSERT_TRUE(replace(path, row.bytes));
        EXPECT_EQ(readBytes(path), row.bytes);
        EXPECT_EQ(modeOf(path), row.before ? row.before : 0666 & ~mask);
        EXPECT_EQ(entries(dir.path()), std::vector<std::string>{row.name});
    }
}

// A save that fails half-way leaves the old bytes, whether it was writing a
// new file (short on the first call, or after some progress) or, with the
// file hard-linked, writing in place.
TEST(ReplaceFileContents, FailedWriteLeavesTheOldBytes)
{
    struct Row { const char* name; WriteFaultHook hook; bool inPlace; };
    const Row rows[] = {
        {"nothing written", [](std::size_t) { return std::size_t{0}; }, false},
        {"one byte short", [](std::size_t n) { return n - 1; }, false},
        {"half written in place", [](std::size_t n) { return n / 2; }, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempDir dir;
        const std::string path = dir.file("image.bin");
        const auto old = randomBytes(4096, 5);
        writeBytes(path, old);
        if (row.inPlace)
            fs::create_hard_link(path, dir.file("other.bin"));
        {
            WriteFault fault(row.hook);
            EXPECT_FALSE(replace(path, randomBytes(8192, 6)));
        }
        EXPECT_EQ(readBytes(path), old);
        if (row.inPlace) {
            EXPECT_EQ(readBytes(dir.file("other.bin")), old);
        }
        EXPECT_EQ(entries(dir.path()), row.inPlace ? (std::vector<std::string>{"image.bin", "other.bin"})
                                                   : std::vector<std::string>{"image.bin"});
    }
}

// Extended attributes (an access control list is one) stay with the file.
TEST(ReplaceFileContents, KeepsExtendedAttributes)
{
    TempDir dir;
    const std::string path = dir.file("image.bin");
    writeBytes(path, randomBytes(64, 1));
    if (setxattr(path.c_str(), "user.note", "stock", 5, 0) != 0)
        GTEST_SKIP() << "no user attributes on this file system";
    ASSERT_TRUE(replace(path, randomBytes(128, 2)));
    char value[16] = {};
    EXPECT_EQ(getxattr(path.c_str(), "user.note", value, sizeof value), 5);
    EXPECT_STREQ(value, "stock");
    EXPECT_EQ(readBytes(path), randomBytes(128, 2));
}

// Past the file size limit (ulimit -f) a write fails like one on a full disk,
// by rename or in place, rather than ending the program half way.
TEST(ReplaceFileContents, TheFileSizeLimitFailsTheSave)
{
    for (const bool inPlace : {false, true}) {
        SCOPED_TRACE(inPlace ? "in place" : "by rename");
        TempDir dir;
        const std::string path = dir.file("image.bin");
        const auto old = randomBytes(4096, 5);
        writeBytes(path, old);
        if (inPlace)
            fs::create_hard_link(path, dir.file("other.bin"));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            failWritesPastTheFileSizeLimit();
            const rlimit limit{6000, 6000};
            setrlimit(RLIMIT_FSIZE, &limit);
            _exit(replaceFileContents(path, randomBytes(8192, 6).data(), 8192) ? 1 : 0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        EXPECT_EQ(readBytes(path), old);
    }
}

// Through a relative link, a link to that link, or a link to a missing file:
// the target is written and the links stay.
TEST(ReplaceFileContents, FollowsSymbolicLinks)
{
    TempDir dir;
    fs::create_directory(dir.path() / "real");
    const std::string target = dir.file("real/image.bin");
    writeBytes(target, {1, 2, 3});
    ASSERT_EQ(chmod(target.c_str(), 0604), 0);
    fs::create_symlink("real/image.bin", dir.path() / "link.bin");
    fs::create_symlink(dir.path() / "link.bin", dir.path() / "link2.bin");
    fs::create_symlink("missing.bin", dir.path() / "dangling.bin");

    ASSERT_TRUE(replace(dir.file("link2.bin"), randomBytes(777, 9)));
    ASSERT_TRUE(replace(dir.file("dangling.bin"), randomBytes(10, 4)));
    for (const char* link : {"link.bin", "link2.bin", "dangling.bin"})
        EXPECT_TRUE(fs::is_symlink(dir.path() / link)) << link;
    EXPECT_EQ(readBytes(target), randomBytes(777, 9));
    EXPECT_EQ(modeOf(target), 0604u);
    EXPECT_EQ(entries(dir.path() / "real"), std::vector<std::string>{"image.bin"});
    EXPECT_EQ(readBytes(dir.file("missing.bin")), randomBytes(10, 4));
}

TEST(ReplaceFileContents, UnwritableTargetsFailCleanly)
{
    TempDir dir;
    const fs::path& d = dir.path();
    fs::create_directory(d / "folder");
    fs::create_symlink("b", d / "a");   // a loop of links
    fs::create_symlink("a", d / "b");
    // Each path, and what stays as it was.
    const std::pair<std::string, std::function<bool()>> rows[] = {
        {dir.file("no/such/folder/image.bin"), [&] { return !fs::exists(d / "no"); }},
        {dir.file("folder"), [&] { return fs::is_directory(d / "folder"); }},
        {dir.file("a"), [&] { return fs::is_symlink(d / "a"); }},
        {"", [] { return true; }},
    };
    for (const auto& [path, stays] : rows) {
        EXPECT_FALSE(replace(path, {1, 2})) << path;
        EXPECT_TRUE(stays()) << path;
    }
}

TEST(ReplaceFileContents, ReadOnlyFolderWritesInPlace)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root (UserRightsAndWhatTheUserHas covers it)";
    TempDir dir;
    const std::string path = dir.file("image.bin");
    writeBytes(path, randomBytes(100, 8));
    ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
    const auto bytes = randomBytes(100, 9);
    EXPECT_TRUE(replace(path, bytes));
    chmod(dir.path().c_str(), 0755);
    EXPECT_EQ(readBytes(path), bytes);
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"image.bin"});
}

// Saves as root or, in a child process, as nobody (uid and gid 65534, also
// in group 100). True when the save reported success.
bool replaceAs(bool asNobody, const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    if (!asNobody)
        return replace(path, bytes);
    const pid_t child = fork();
    if (child == 0) {
        const gid_t groups[] = {65534, 100};
        if (setgroups(2, groups) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        _exit(replace(path, bytes) ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    return child > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(ReplaceFileContents, UserRightsAndWhatTheUserHas)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to set owners and to drop to another user";
    constexpr uid_t root = 0, nobody = 65534;
    constexpr gid_t rootGroup = 0, nogroup = 65534, users = 100;
    struct Row {
        const char* what;
        bool asNobody;
        bool folderWritable;
        mode_t mode;
        uid_t owner;
        gid_t group;
        bool hardLinked;
        bool saved;
    };
    const Row rows[] = {
        {"own file", true, true, 0644, nobody, nogroup, false, true},
        {"read-only file", true, true, 0444, nobody, nogroup, false, false},
        {"someone else's file", true, true, 0644, root, rootGroup, false, false},
        {"writable file in a folder the user cannot write", true, false, 0666, root, rootGroup, false, true},
        {"file with another name", true, true, 0644, nobody, nogroup, true, true},
        {"group member saves root's file", true, true, 0664, root, users, false, true},
        {"own file of another of the user's groups", true, true, 0640, nobody, users, false, true},
        {"root saves another user's file", false, true, 0600, nobody, nogroup, false, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        TempDir dir;
        ASSERT_EQ(chmod(dir.path().c_str(), 0755), 0);
        const fs::path folder = dir.path() / "folder";
        fs::create_directory(folder);
        ASSERT_EQ(chmod(folder.c_str(), row.folderWritable ? 0777 : 0755), 0);
        const std::string path = (folder / "image.bin").string();
        const auto old = randomBytes(3000, 1);
        writeBytes(path, old);
        ASSERT_EQ(chown(path.c_str(), row.owner, row.group), 0);
        ASSERT_EQ(chmod(path.c_str(), row.mode), 0);
        const std::string otherName = dir.file("other-name.bin");
        if (row.hardLinked)
            fs::create_hard_link(path, otherName);

        const auto bytes = randomBytes(2000, 2);
        EXPECT_EQ(replaceAs(row.asNobody, path, bytes), row.saved);
        EXPECT_EQ(readBytes(path), row.saved ? bytes : old);
        if (row.hardLinked) {
            EXPECT_EQ(readBytes(otherName), bytes);
        }
        struct stat st {};
        ASSERT_EQ(stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, row.owner);
        EXPECT_EQ(st.st_gid, row.group);
        EXPECT_EQ(st.st_mode & 07777, row.mode);
        EXPECT_EQ(entries(folder), std::vector<std::string>{"image.bin"});
    }
}

TEST(ReplaceFileContents, RemovesTemporaryFilesOfAnInterruptedSave)
{
    TempDir dir;
    const std::string path = dir.file("image.bin");
    writeBytes(path, {1});
    for (const char* name : {".image.bin.saving-Ab3dE9", ".image.bin.saving-zz0000", ".image.bin.saving-notmine",
                             ".other.bin.saving-Ab3dE9", ".image.bin.backup", ".image.bin.Ab3dE9"})
        writeBytes(dir.file(name), {2});
    ASSERT_TRUE(replace(path, {3}));
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{".image.bin.Ab3dE9", ".image.bin.backup",
                                                             ".image.bin.saving-notmine", ".other.bin.saving-Ab3dE9",
                                                             "image.bin"}));
}

} // namespace
