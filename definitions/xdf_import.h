#pragma once
// Import of TunerPro XDF v1.50 definition files. Titles, descriptions, units,
// decimals, axis sizes, display types, axis sources and labels are taken
// over; where the data lies and how it is encoded is not (set in the map
// editor), and an axis with scaling gets factor 1 and offset 0.
#include <cstddef>
#include <string>

#include "definitions/map_definition.h"

enum class XdfImportStatus {
    Loaded,               // the command shows "Definitions file loaded."
    LoadedToLimit,        // "Only the first 65535 maps were loaded."
    Unreadable,           // "Unable to open definitions file!"
    Corrupted,            // "The definitions file is corrupted!"
    IncompatibleVersion,  // "The definitions file version is not compatible!"
};

// The untranslated message of a status.
const char* xdfImportStatusMessage(XdfImportStatus status);

inline bool xdfImported(XdfImportStatus s)
{
    return s == XdfImportStatus::Loaded || s == XdfImportStatus::LoadedToLimit;
}

// Imports the file into the store. A rejected file leaves the store as it was
// (a version mismatch still records the file's version); an accepted one
// restarts the map list at 0 and overwrites only the fields the file sets.
XdfImportStatus importXdfFile(DefinitionStore& store, const std::string& path);

// The same from the file's bytes already in memory.
XdfImportStatus importXdfText(DefinitionStore& store, const char* data, std::size_t size);
