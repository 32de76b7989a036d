#include <gtest/gtest.h>

#include <optional>

#include <sys/stat.h>
#include <unistd.h>

#include "rom/rom_image.h"
#include "common/safe_file.h"
#include "test_support.h"

namespace {

// Refuses image storage for one test and always allows it again.
class AllocationFailure {
public:
    AllocationFailure() { setRomAllocationFailureForTesting(true); }
    ~AllocationFailure() { setRomAllocationFailureForTesting(false); }
};

// Writes `bytes` to `path` and loads them into `buffer` under the file's name.
void load(RomBuffer& buffer, const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    writeBytes(path, bytes);
    EXPECT_EQ(loadRomImage(buffer, path, std::filesystem::path(path).filename().string()), RomStatus::Loaded);
}

void expectImage(const RomBuffer& buffer, const std::vector<std::uint8_t>& bytes, const std::string& path)
{
    EXPECT_EQ(buffer.size, static_cast<std::int32_t>(bytes.size()));
    EXPECT_EQ(buffer.data, bytes);
    EXPECT_EQ(buffer.path, path);
    EXPECT_EQ(buffer.fileName, std::filesystem::path(path).filename().string());
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
        RomBuffer buffer;
        load(buffer, oldPath, oldBytes);

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
        if (row.expected == RomStatus::Loaded)
            expectImage(buffer, bytes, path);
        else
            expectImage(buffer, oldBytes, oldPath);
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
        load(buffer, path, bytes);
        expectImage(buffer, bytes, path);   // data.size() too: nothing left of a larger image
    }
}

TEST(SaveRomImage, WritesExactlyTheImage)
{
    TempDir dir;
    RomBuffer buffer;
    load(buffer, dir.file("old.bin"), randomBytes(5000, 3));
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
    RomBuffer buffer;
    load(buffer, path, old);
    buffer.data.assign(buffer.data.size(), 0xAA);

    EXPECT_EQ(saveRomImage(RomBuffer{}, path), RomStatus::BufferEmpty);
    EXPECT_EQ(saveRomImage(buffer, dir.file("missing/image.bin")), RomStatus::WriteError);
    setWriteFaultHookForTesting([](std::size_t n) { return n / 2; });
    EXPECT_EQ(saveRomImage(buffer, path), RomStatus::WriteError);
    setWriteFaultHookForTesting({});
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(CopyRomBuffer, DestinationTakesImageSizePathAndName)
{
    TempDir dir;
    const std::string sourcePath = dir.file("source.bin");
    const auto source = randomBytes(1000, 6);
    RomBuffers buffers;
    load(buffers[0], sourcePath, source);

    EXPECT_EQ(copyRomBuffer(buffers, 0, 0), RomStatus::Copied);   // onto itself: the image stays
    expectImage(buffers[0], source, sourcePath);
    load(buffers[1], dir.file("big.bin"), randomBytes(4000, 7));   // a larger image: its storage shrinks too
    ASSERT_EQ(copyRomBuffer(buffers, 0, 1), RomStatus::Copied);
    expectImage(buffers[1], source, sourcePath);

    // Saving the copy writes the source's file; the source buffer is its own copy.
    buffers[1].data[0] ^= 0xFF;
    ASSERT_EQ(saveRomImage(buffers[1], buffers[1].path), RomStatus::Saved);
    EXPECT_EQ(readBytes(sourcePath), buffers[1].data);
    EXPECT_EQ(std::vector<std::uint8_t>(buffers[0].data.begin(), buffers[0].data.begin() + buffers[0].size), source);
}

TEST(CopyRomBuffer, RefusalsLeaveDestinationUntouched)
{
    TempDir dir;
    RomBuffers buffers;
    load(buffers[0], dir.file("source.bin"), randomBytes(1000, 6));
    load(buffers[1], dir.file("old.bin"), {9, 8, 7});

    EXPECT_EQ(copyRomBuffer(buffers, 2, 1), RomStatus::BufferEmpty);
    {
        AllocationFailure refuse;
        EXPECT_EQ(copyRomBuffer(buffers, 0, 1), RomStatus::ReallocError);
    }
    EXPECT_EQ(copyRomBuffer(buffers, 3, 1), RomStatus::BufferEmpty);
    EXPECT_EQ(copyRomBuffer(buffers, 0, -1), RomStatus::BufferEmpty);
    expectImage(buffers[1], {9, 8, 7}, dir.file("old.bin"));
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
