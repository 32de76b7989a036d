#pragma once
// Reading a whole file that must be a regular file. It is opened without
// blocking and its type is checked on the opened file, so that a path swapped
// for a FIFO or a device after any earlier look cannot hang the program.
#include <cstddef>
#include <string>

enum class FileReadStatus {
    Read,
    NotFound,     // nothing there, or not a regular file (a folder, a FIFO, ...)
    Unreadable,   // a regular file that cannot be opened or read
};

// `spare`: room to reserve beyond the file's bytes, for what the caller appends.
FileReadStatus readRegularFile(const std::string& path, std::string& bytes, std::size_t spare = 0);
