#pragma once
// Reading a whole file that must be a regular file. It is opened without
// blocking and its type is checked on the opened file, so that a path swapped
// for a FIFO or a device after any earlier look cannot hang the program.
#include <string>

enum class FileReadStatus {
    Read,
    NotFound,     // nothing there, or not a regular file (a folder, a FIFO, ...)
    Unreadable,   // a regular file that cannot be opened or read
};

FileReadStatus readRegularFile(const std::string& path, std::string& bytes);
