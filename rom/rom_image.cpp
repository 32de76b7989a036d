#include "rom/rom_image.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/safe_file.h"

namespace {

bool& allocationFailure()
{
    static bool fail = false;
    return fail;
}

// Fresh storage of exactly `size` bytes; false when the memory is refused.
bool allocate(std::vector<std::uint8_t>& storage, std::size_t size)
{
    try {
        if (allocationFailure())
            throw std::bad_alloc();
        storage.resize(size);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// The buffer's image as far as it is consistent: `size` bytes that really exist.
bool hasImage(const RomBuffer& buffer)
{
    return !buffer.empty() && buffer.size > 0 && static_cast<std::size_t>(buffer.size) <= buffer.data.size();
}

bool validIndex(int index)
{
    return index >= 0 && index < kRomBufferCount;
}

class FileHandle {
public:
    explicit FileHandle(int fd) : m_fd(fd) {}
    ~FileHandle()
    {
        if (m_fd >= 0)
            close(m_fd);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

void setRomAllocationFailureForTesting(bool fail)
{
    allocationFailure() = fail;
}

const char* romStatusMessage(RomStatus status)
{
    switch (status) {
    case RomStatus::Loaded: return "File loaded successfully.";
    case RomStatus::FileNotFound: return "File not found!";
    case RomStatus::FileSizeError: return "File size error!";
    case RomStatus::ReadError: return "File read error!";
    case RomStatus::ReallocError: return "Buffer reallocation error!";
    case RomStatus::BufferEmpty: return "Buffer empty error!";
    case RomStatus::Saved: return "File saved successfully.";
    case RomStatus::WriteError: return "File write error!";
    case RomStatus::Copied: return "";   // the text names the pair: copyMessage
    }
    return "";
}

std::string copyMessage(int source, int destination)
{
    return "BIN #" + std::to_string(source + 1) + " copied to BIN #" + std::to_string(destination + 1) + ".";
}

RomStatus loadRomImage(RomBuffer& buffer, const std::string& path, const std::string& fileName)
{
    struct stat st;
    if (path.empty() || stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return RomStatus::FileNotFound;

    // Non-blocking so that a file swapped for a FIFO after the check cannot hang the open.
    const FileHandle file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0)
        return errno == ENOENT ? RomStatus::FileNotFound : RomStatus::FileSizeError;   // length unknowable
    if (fstat(file.get(), &st) != 0)
        return RomStatus::FileSizeError;
    if (!S_ISREG(st.st_mode))
        return RomStatus::FileNotFound;
    if (st.st_size <= 0 || st.st_size > kMaxRomSize)
        return RomStatus::FileSizeError;

    const auto size = static_cast<std::size_t>(st.st_size);
    std::vector<std::uint8_t> image;
    if (!allocate(image, size))
        return RomStatus::ReallocError;

    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = read(file.get(), image.data() + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return RomStatus::ReadError;
        done += static_cast<std::size_t>(n);
    }

    buffer.data.swap(image);
    buffer.size = static_cast<std::int32_t>(size);
    buffer.path = path;
    buffer.fileName = fileName;
    return RomStatus::Loaded;
}

RomStatus saveRomImage(const RomBuffer& buffer, const std::string& path)
{
    if (!hasImage(buffer))
        return RomStatus::BufferEmpty;
    if (!replaceFileContents(path, buffer.data.data(), static_cast<std::size_t>(buffer.size)))
        return RomStatus::WriteError;
    return RomStatus::Saved;
}

RomStatus copyRomBuffer(RomBuffers& buffers, int source, int destination)
{
    if (!validIndex(source) || !validIndex(destination))
        return RomStatus::BufferEmpty;
    const RomBuffer& from = buffers[static_cast<std::size_t>(source)];
    if (!hasImage(from))
        return RomStatus::BufferEmpty;
    if (source == destination)
        return RomStatus::Copied;

    // Into fresh storage first, so a refusal leaves the destination as it was.
    std::vector<std::uint8_t> image;
    if (!allocate(image, static_cast<std::size_t>(from.size)))
        return RomStatus::ReallocError;
    std::copy_n(from.data.begin(), from.size, image.begin());

    RomBuffer& to = buffers[static_cast<std::size_t>(destination)];
    to.data.swap(image);
    to.size = from.size;
    to.path = from.path;
    to.fileName = from.fileName;
    return RomStatus::Copied;
}
