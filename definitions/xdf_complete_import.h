#pragma once
// Import of TunerPro XDF files (1.50 to 1.80) with where each map lies and how
// it scales: everything the plain import takes, plus addresses, cell widths,
// sign, byte order, data order, linear scaling, axes stored in the image
// (their own or a linked table's) and single-value constants as 1 x 1 maps.
// What the store cannot show right (floating-point cells, odd widths, cells
// that are not packed, no address) gets no address and width 0, and is
// counted as left to the tuner.
#include <cstddef>
#include <string>

#include "common/status_text.h"
#include "definitions/map_definition.h"
#include "definitions/xdf_import.h"

struct XdfCompleteImport {
    XdfImportStatus status = XdfImportStatus::Unreadable;
    int maps = 0;               // slots filled: tables, then constants
    int needScaling = 0;        // maps whose cells or stored axis values have an equation that is not linear
    int needAddress = 0;        // maps whose cells got no address
    int droppedTables = 0;      // beyond the store's slots
    int droppedConstants = 0;   // constants with an address beyond the store's slots
};

// Imports the file into the store. A rejected file leaves the store as it was
// (a version mismatch still records the file's version); an accepted one
// replaces the list of maps, each imported slot starting afresh, so nothing of
// an earlier set survives into a map's cells or scaling.
XdfCompleteImport importCompleteXdfFile(DefinitionStore& store, const std::string& path);

// The same from the file's bytes already in memory.
XdfCompleteImport importCompleteXdfText(DefinitionStore& store, const char* data, std::size_t size);

// One line: the plain import's message, with how many maps were loaded and
// what is left to do by hand.
StatusText xdfCompleteImportMessage(const XdfCompleteImport& result);
