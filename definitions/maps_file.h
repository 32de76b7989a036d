#pragma once
// The maps file (*.xts): the program's own XML file for a whole definition
// set. Reading and writing are pure logic; the windows ask for the path and
// show the message of the returned status.
#include <cstddef>
#include <string>

#include "definitions/map_definition.h"

enum class MapsFileStatus {
    Loaded,               // success (the command then shows "Maps file loaded.")
    LoadedToLimit,        // "Only the first 65535 maps were loaded."
    NotFound,             // "Maps file not found!"
    Unreadable,           // "Unable to load maps file!"
    Corrupted,            // "The maps file is corrupted!"
    IncompatibleVersion,  // "The maps file version is not compatible!"
    Saved,                // "Maps file saved."
    SaveFailed,           // "Unable to save maps file!"
};

// The untranslated message of a status ("" for Loaded, whose message is the command's).
const char* mapsFileStatusMessage(MapsFileStatus status);

inline bool mapsFileLoaded(MapsFileStatus s)
{
    return s == MapsFileStatus::Loaded || s == MapsFileStatus::LoadedToLimit;
}

// Loads the file into the store. A failure before the version check leaves
// the store unchanged (a version mismatch still records the file's version);
// an accepted file restarts the map list at 0 and overwrites only the fields
// the file gives, so slots keep their old contents elsewhere.
MapsFileStatus loadMapsFile(DefinitionStore& store, const std::string& path);

// The same from the file's bytes already in memory (never NotFound).
MapsFileStatus loadMapsText(DefinitionStore& store, const char* data, std::size_t size);

// The document text that saving writes for the store.
std::string mapsFileText(const DefinitionStore& store);

// Writes the store to the path, replacing an existing file only once the new
// one is completely written.
MapsFileStatus saveMapsFile(const DefinitionStore& store, const std::string& path);
