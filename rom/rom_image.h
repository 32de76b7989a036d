#pragma once
// Load, save and copy of the ROM image buffers. Every outcome is a status
// whose message the main window shows; nothing throws.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr std::int32_t kMaxRomSize = 0x200000;   // 2 MiB
constexpr int kRomBufferCount = 3;

struct RomBuffer {
    std::vector<std::uint8_t> data;   // holds at least `size` bytes
    std::int32_t size = 0;            // 0 = empty
    std::string path;                 // full path of the file the image came from
    std::string fileName;             // name part of that path
    bool empty() const { return size == 0 || data.empty(); }
};

// "BIN #1" to "BIN #3".
using RomBuffers = std::array<RomBuffer, kRomBufferCount>;

enum class RomStatus {
    Loaded,          // "File loaded successfully."
    FileNotFound,    // "File not found!"
    FileSizeError,   // "File size error!"  (length unknown, 0 or above 2 MiB)
    ReadError,       // "File read error!"
    ReallocError,    // "Buffer reallocation error!"
    BufferEmpty,     // "Buffer empty error!"
    Saved,           // "File saved successfully."
    WriteError,      // "File write error!"
    Copied,          // "BIN #a copied to BIN #b." (see copyMessage)
};

// The untranslated message of a status (for Copied, use copyMessage).
const char* romStatusMessage(RomStatus status);

// "BIN #1 copied to BIN #2." for buffer indices 0 and 1.
std::string copyMessage(int source, int destination);

// Reads the whole file at `path` into the buffer. On success the buffer holds
// exactly the file's bytes and takes size, path and file name; on any failure
// the buffer keeps its previous image, size, path and name.
RomStatus loadRomImage(RomBuffer& buffer, const std::string& path, const std::string& fileName);

// Writes the buffer's image to `path` (replacing the file safely).
RomStatus saveRomImage(const RomBuffer& buffer, const std::string& path);

// Copies image, size, path and file name from one buffer to another.
RomStatus copyRomBuffer(RomBuffers& buffers, int source, int destination);

// Tests only: while set, every request for image storage is refused.
void setRomAllocationFailureForTesting(bool fail);
