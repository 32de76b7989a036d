#pragma once
// The table editor's cell operations: steps by a raw amount, a percentage or
// an engineering amount, fill, selection by value, interpolation over the
// selected block, the selection commands and the statistics. Each one takes
// the map's cells, the selection mask and the texts of the controls panel,
// and tells the window what to show: the message, which input fields turn
// black or red, and whether the selected cells were written or the selection
// changed. Cells are visited column by column, top to bottom.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "cells/cell_selection.h"
#include "cells/edit_history.h"
#include "cells/map_cells.h"
#include "common/status_text.h"

// The "Raw", "Perc." and "Eng." radios: the number kind of fill, select by
// value and interpolation. The steps do not look at it.
enum class OperationMode { Raw, Percent, Engineering };

enum class CellOperation {
    IncrementRaw,           // "Inc. raw value" and the up button beside the spin control
    DecrementRaw,
    IncrementPercent,       // "Inc. perc. value"
    DecrementPercent,
    IncrementEngineering,   // "Inc. eng. value"
    DecrementEngineering,
    Fill,                   // "Fill with value"
    SelectEqual,            // "Select by value"
    SelectGreaterOrEqual,   // "Select >=", "Select >= value"
    Interpolate,            // "Interpolation"
    SelectAll,
    ClearSelection,
    InvertSelection,
    Statistics,             // the home button
};

// The input fields whose text colour an operation sets.
enum InputField : unsigned {
    FieldPercent = 1u << 0,
    FieldEngineering = 1u << 1,
    FieldTopLeft = 1u << 2,       // interpolation corners
    FieldTopRight = 1u << 3,
    FieldBottomLeft = 1u << 4,
    FieldBottomRight = 1u << 5,
};

// What the controls panel holds when the operation is asked for.
struct CellInputs {
    std::int32_t rawValue = 0;   // the spin control
    std::string percentText;
    std::string engineeringText;
    // Interpolation corners: top-left, top-right, bottom-left, bottom-right.
    std::array<std::string, 4> cornerTexts;
    OperationMode mode = OperationMode::Raw;
    // The grid's cursor (-1: none). With no cell selected, the steps, fill and
    // statistics act on this cell alone.
    int cursorRow = -1;
    int cursorColumn = -1;
};

struct CellOperationResult {
    StatusText message;             // empty: leave the status bar as it is
    unsigned acceptedFields = 0;    // InputField bits whose text turns black
    unsigned rejectedFields = 0;    // InputField bits whose text turns red
    bool cellsWritten = false;      // every selected cell was rewritten: redraw those
    bool selectionChanged = false;  // the selection mask changed: repaint it
    bool onCursorCell = false;      // nothing was selected: only the cursor cell was written
    EditNote note;                  // what the cells were written with, for undo and redo
};

// Runs one operation. `selection` must have the map's rows and columns and
// the working copy the map's block size; otherwise nothing happens.
CellOperationResult runCellOperation(CellOperation operation, MapCells& cells, CellSelection& selection,
                                     const CellInputs& inputs);

// The cells an operation acts on: the selection or, with no cell selected,
// the cursor cell alone (put in `single`; none when the cursor lies outside
// the table).
const CellSelection& cellsToActOn(const CellSelection& selection, int cursorRow, int cursorColumn,
                                  CellSelection& single);

// Adds " N cells held at a limit." (or starts with it) when writes went
// beyond the range of their cells.
void appendHeldCount(StatusText& message, std::size_t held);
