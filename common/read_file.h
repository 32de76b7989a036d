#pragma once
// Reading a whole file that must be a regular file. It is opened without
// blocking and its type is checked on the opened file, so that a path swapped
// for a FIFO or a device after any earlier look cannot hang the program.
#include <cstddef>
#include <cstdint>
#include <string>

enum class FileReadStatus {
    Read,
    NotFound,     // nothing there, or not a regular file (a folder, a FIFO, ...)
    Unreadable,   // a regular file that cannot be opened or read
};

// `spare`: room to reserve beyond the file's bytes, for what the caller appends.
// A file larger than `limit` bytes, or one there is no memory for, is
// Unreadable: a file picked by mistake must not end the program.
FileReadStatus readRegularFile(const std::string& path, std::string& bytes, std::size_t spare = 0,
                               std::size_t limit = SIZE_MAX);
