#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "rom/rom_image.h"
#include "workspace/workspace.h"
#include "common/safe_file.h"
#include "test_support.h"

namespace {

// Refuses image storage for one test and always allows it again.
class AllocationFailure {
public:
    AllocationFailure() { setRomAllocationFailureForTesting(true); }
    ~AllocationFailure() { setRomAllocationFailureForTesting(false); }
};

std::vector<std::uint8_t> imageOf(const RomBuffer& buffer)
{
    return {buffer.data.begin(), buffer.data.begin() + buffer.size};
}

// A buffer already holding `bytes`, loaded from `path`.
RomBuffer loaded(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    writeBytes(path, bytes);
    RomBuffer buffer;
    EXPECT_EQ(loadRomImage(buffer, path, "old.bin"), RomStatus::Loaded);
    return buffer;
}

void expectUnchanged(const RomBuffer& buffer, const std::vector<std::uint8_t>& bytes, const std::string& path)
{
    EXPECT_EQ(buffer.size, static_cast<std::int32_t>(bytes.size()));
    EXPECT_EQ(buffer.data, bytes);
    EXPECT_EQ(buffer.path, path);
    EXPECT_EQ(buffer.fileName, "old.bin");
}

// A load that fails for any reason keeps the image loaded before.
TEST(LoadRomImage, SizeLimitsMissingFilesAndRefusals)
{
    enum Source { File, NoFile, Folder, Unreadable, NoStorage };
    const struct {
        const char* name;
        Source source;
        long size;
        RomStatus expected;
    } rows[] = {
        {"one byte", File, 1, RomStatus::Loaded},
        {"largest image", File, kMaxRomSize, RomStatus::Loaded},
        {"one byte too large", File, kMaxRomSize + 1, RomStatus::FileSizeError},
        {"empty file", File, 0, RomStatus::FileSizeError},
        {"missing file", NoFile, 0, RomStatus::FileNotFound},
        {"folder", Folder, 0, RomStatus::FileNotFound},
        {"file that cannot be opened", Unreadable, 3, RomStatus::FileSizeError},
        {"storage refused", NoStorage, 32, RomStatus::ReallocError},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.source == Unreadable && geteuid() == 0)
            continue;   // permissions do not bind root
        TempDir dir;
        const std::string oldPath = dir.file("old.bin");
        const auto oldBytes = randomBytes(64, 1);
        RomBuffer buffer = loaded(oldPath, oldBytes);

        const std::string path = dir.file("new.bin");
        std::vector<std::uint8_t> bytes;
        if (row.source == Folder)
            std::filesystem::create_directory(path);
        else if (row.source != NoFile)
            writeBytes(path, bytes = randomBytes(static_cast<std::size_t>(row.size), 2));
        if (row.source == Unreadable)
            chmod(path.c_str(), 0);
        std::optional<AllocationFailure> refuse;
        if (row.source == NoStorage)
            refuse.emplace();

        ASSERT_EQ(loadRomImage(buffer, path, "new.bin"), row.expected);
        if (row.expected == RomStatus::Loaded) {
            EXPECT_EQ(buffer.size, row.size);
            EXPECT_EQ(buffer.data, bytes);
            EXPECT_EQ(buffer.path, path);
            EXPECT_EQ(buffer.fileName, "new.bin");
        } else {
            expectUnchanged(buffer, oldBytes, oldPath);
        }
    }
}

TEST(LoadRomImage, ReloadShrinksAndGrowsStorage)
{
    TempDir dir;
    RomBuffer buffer;
    for (std::size_t size : {100000u, 10u, 2000000u, 1u}) {
        SCOPED_TRACE(size);
        const std::string path = dir.file("image" + std::to_string(size) + ".bin");
        const auto bytes = randomBytes(size, static_cast<unsigned>(size));
        writeBytes(path, bytes);
        ASSERT_EQ(loadRomImage(buffer, path, "x.bin"), RomStatus::Loaded);
        EXPECT_EQ(buffer.size, static_cast<std::int32_t>(size));
        EXPECT_EQ(buffer.data.size(), size);
        EXPECT_EQ(buffer.data, bytes);
        EXPECT_EQ(buffer.path, path);
    }
}

TEST(SaveRomImage, WritesExactlyTheImage)
{
    TempDir dir;
    const auto bytes = randomBytes(5000, 3);
    RomBuffer buffer = loaded(dir.file("old.bin"), bytes);
    buffer.data[10] ^= 0xFF;   // an edit made in the buffer

    const std::string path = dir.file("out.bin");
    writeBytes(path, randomBytes(9000, 4));   // a longer file is replaced whole
    ASSERT_EQ(saveRomImage(buffer, path), RomStatus::Saved);
    EXPECT_EQ(readBytes(path), buffer.data);
}

TEST(SaveRomImage, Failures)
{
    TempDir dir;
    const std::string path = dir.file("image.bin");
    const auto old = randomBytes(3000, 5);
    RomBuffer buffer = loaded(path, old);
    buffer.data.assign(buffer.data.size(), 0xAA);

    EXPECT_EQ(saveRomImage(RomBuffer{}, path), RomStatus::BufferEmpty);
    EXPECT_EQ(saveRomImage(buffer, dir.file("missing/image.bin")), RomStatus::WriteError);
    {
        setWriteFaultHookForTesting([](std::size_t n) { return n / 2; });
        EXPECT_EQ(saveRomImage(buffer, path), RomStatus::WriteError);
        setWriteFaultHookForTesting({});
    }
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

class CopyRomBuffer : public testing::Test {
protected:
    void SetUp() override
    {
        source = randomBytes(1000, 6);
        writeBytes(dir.file("source.bin"), source);
        ASSERT_EQ(loadRomImage(ws->buffers[0], dir.file("source.bin"), "source.bin"), RomStatus::Loaded);
    }
    TempDir dir;
    std::unique_ptr<Workspace> ws = std::make_unique<Workspace>();
    std::vector<std::uint8_t> source;
};

TEST_F(CopyRomBuffer, DestinationTakesImageSizePathAndName)
{
    // Onto itself: the image stays.
    EXPECT_EQ(copyRomBuffer(ws->buffers, 0, 0), RomStatus::Copied);
    EXPECT_EQ(ws->buffers[0].data, source);
    EXPECT_EQ(ws->buffers[0].size, 1000);
    EXPECT_EQ(ws->buffers[0].path, dir.file("source.bin"));

    // The destination held a larger image before: its storage shrinks too.
    writeBytes(dir.file("big.bin"), randomBytes(4000, 7));
    ASSERT_EQ(loadRomImage(ws->buffers[1], dir.file("big.bin"), "big.bin"), RomStatus::Loaded);

    ASSERT_EQ(copyRomBuffer(ws->buffers, 0, 1), RomStatus::Copied);
    const RomBuffer& to = ws->buffers[1];
    EXPECT_EQ(to.data, source);
    EXPECT_EQ(to.size, 1000);
    EXPECT_EQ(to.path, dir.file("source.bin"));
    EXPECT_EQ(to.fileName, "source.bin");

    // Saving the copy writes the source's file.
    ws->buffers[1].data[0] ^= 0xFF;
    ASSERT_EQ(saveRomImage(to, to.path), RomStatus::Saved);
    EXPECT_EQ(readBytes(dir.file("source.bin")), to.data);
    EXPECT_EQ(imageOf(ws->buffers[0]), source);   // the source buffer is its own copy
}

TEST_F(CopyRomBuffer, RefusalsLeaveDestinationUntouched)
{
    writeBytes(dir.file("old.bin"), {9, 8, 7});
    ASSERT_EQ(loadRomImage(ws->buffers[1], dir.file("old.bin"), "old.bin"), RomStatus::Loaded);

    EXPECT_EQ(copyRomBuffer(ws->buffers, 2, 1), RomStatus::BufferEmpty);
    {
        AllocationFailure refuse;
        EXPECT_EQ(copyRomBuffer(ws->buffers, 0, 1), RomStatus::ReallocError);
    }
    EXPECT_EQ(copyRomBuffer(ws->buffers, 3, 1), RomStatus::BufferEmpty);
    EXPECT_EQ(copyRomBuffer(ws->buffers, 0, -1), RomStatus::BufferEmpty);
    expectUnchanged(ws->buffers[1], {9, 8, 7}, dir.file("old.bin"));
}

TEST(RomMessages, Texts)
{
    const std::vector<std::pair<RomStatus, std::string>> rows = {
        {RomStatus::Loaded, "File loaded successfully."},
        {RomStatus::FileNotFound, "File not found!"},
        {RomStatus::FileSizeError, "File size error!"},
        {RomStatus::ReadError, "File read error!"},
        {RomStatus::ReallocError, "Buffer reallocation error!"},
        {RomStatus::BufferEmpty, "Buffer empty error!"},
        {RomStatus::Saved, "File saved successfully."},
        {RomStatus::WriteError, "File write error!"},
    };
    for (const auto& [status, text] : rows)
        EXPECT_EQ(romStatusMessage(status), text);

    EXPECT_EQ(copyMessage(0, 1), "BIN #1 copied to BIN #2.");
    EXPECT_EQ(copyMessage(2, 0), "BIN #3 copied to BIN #1.");
}

} // namespace
