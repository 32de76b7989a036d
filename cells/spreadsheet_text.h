#pragma once
// Blocks of cells as spreadsheets put them on the clipboard: one line per
// row, the cells of a row separated by tabs. The table editor copies the
// selected block this way and pastes such a block (or its own one-line
// format) with its top-left at the cursor cell.
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "cells/cell_selection.h"
#include "cells/clipboard_text.h"
#include "cells/table_grid_model.h"
#include "common/status_text.h"

// The smallest block holding every selected cell, one line per row ending
// in "\n", each cell's text as the grid shows it. Cells of the block that
// are not selected give empty fields, which a paste passes over, so that
// copying and pasting a scattered selection writes just those cells. Tabs
// and line breaks inside a text become blanks. Nothing selected: "".
std::string encodeSpreadsheetText(const CellSelection& selection, const CellTextFunction& cellText);

// A block of numbers: fields separated by tabs, rows by "\n", "\r\n" or
// "\r" (a last line break ends the last row). Each field is empty or one
// number, blanks around it ignored, with "." or "," as its decimal sign (one
// sign for the whole block, no thousands separators). Empty fields leave
// their cells alone. False when the text is anything else or holds no number,
// and when every comma may as well be a thousands separator ("1,000", with
// no field such as "1,5" or "0,125" to tell). Every field is checked, but
// only those of the first `keepRows` lines and `keepColumns` columns (the
// ones a paste can reach) are kept.
struct SpreadsheetBlock {
    std::int64_t rows = 0;       // lines
    std::int64_t columns = 0;    // fields of the longest line
    std::int64_t numbers = 0;    // fields that hold a number
    std::vector<double> fields;             // kept ones, line by line; not-a-number where empty
    std::vector<std::size_t> lineEnds;      // per kept line: the index in `fields` after its last
    std::string ambiguousField;             // the first such field when that refused the block
    std::string refusedField;               // the field that is no number, when one refused it
    std::int64_t refusedLine = 0, refusedColumn = 0;   // where, counted from 0
};
bool readSpreadsheetBlock(std::string_view text, SpreadsheetBlock& block,
                          std::int64_t keepRows = std::numeric_limits<std::int64_t>::max(),
                          std::int64_t keepColumns = std::numeric_limits<std::int64_t>::max());

// Writes a block with its top-left cell at (top, left), each number as the
// grid's view shows values (raw or engineering, absolute or difference) and
// held at its cell's limits; numbers that fall outside the map are skipped.
// Text that is not a block changes nothing: "No data to be pasted!" (or,
// for an unclear comma, a message naming the field).
PasteResult pasteSpreadsheetText(std::string_view text, TableGridModel& model, int top, int left);

// A paste of whatever the clipboard holds: text in the table editor's own
// format goes by its header, anything else is taken as a block at (top, left).
PasteResult pasteAnyText(std::string_view text, TableGridModel& model, int top, int left);

// The size of the selection: "4 × 3 = 12 cells" for a block 4 columns wide
// and 3 rows tall, "12 cells in 5 × 4" for a scattered selection, by its
// smallest block; empty when nothing is selected.
StatusText selectionSizeText(const CellSelection& selection);
