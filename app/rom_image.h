#pragma once
// Load, save and copy of the ROM image buffers. Every outcome is a status
// whose message the main window shows; nothing throws.
#include <string>

#include "app/workspace.h"

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
RomStatus copyRomBuffer(Workspace& workspace, int source, int destination);

// Tests only: while set, every request for image storage is refused.
void setRomAllocationFailureForTesting(bool fail);
