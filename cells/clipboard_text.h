#pragma once
// The table editor's clipboard text: a 7-character header ("RAW" or "ENG",
// then "-ABS" or "-DIF") followed by one "@row:column=text" entry per copied
// cell, with nothing between the entries and no line break. The header tells
// a paste how the values were shown when copied, so it writes them the same
// way whatever the receiving editor shows.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "cells/cell_selection.h"
#include "cells/edit_history.h"
#include "cells/map_cells.h"
#include "common/status_text.h"

// The text a cell shows in the grid (formatted, or as the user typed it).
using CellTextFunction = std::function<std::string(int row, int column)>;

// "RAW" in the raw view, else "ENG"; then "-DIF" in the difference view, else "-ABS".
std::string clipboardHeader(bool rawView, bool differenceView);

// The header followed by an entry for each selected cell, visited column by
// column; with nothing selected, just the header.
std::string encodeClipboardText(bool rawView, bool differenceView, const CellSelection& selection,
                                const CellTextFunction& cellText);

struct PasteResult {
    // How many cells were pasted (and held at their limits), or the failure.
    StatusText message;
    CellSelection written;   // the cells written, map-sized: redraw these
    std::size_t writtenCount = 0;
    std::size_t heldCount = 0;   // writes held at their cell's limits
    std::size_t roundedCount = 0;   // values stored at the cell's step below them
    EditNote note;               // "Data pasted into " the count, for undo and redo
};

// Whether the text is meant for this format: it starts with a header, "RAW"
// or "ENG", one character (any), then "ABS" or "DIF".
bool isClipboardFormat(std::string_view text);

// Writes the entries of a clipboard text into the working copy, each value
// held at its cell's limits. Difference
// values are added to the compare image's cells, so they need one
// (cells.compareImage). A failing entry stops the paste with its message;
// the entries before it stay written. Entries naming a cell outside the
// table are skipped, and the paste ends where the text no longer continues
// with "@" (a line break after the last value, for instance).
PasteResult pasteClipboardText(std::string_view text, MapCells& cells);
