#pragma once
// The table editor's cell operations: steps by a raw amount, a percentage or
// an engineering amount, fill, selection by value, interpolation over the
// selected block, the selection commands and the statistics. Each one takes
// the map's cells, the selection mask and the texts of the controls panel,
// and tells the window what to show: the message, which input fields turn
// black or red, and whether the selected cells were written or the selection
// changed. Cells are visited column by column, top to bottom.
#include <array>
#include <cstdint>
#include <string>

#include "cells/cell_selection.h"
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
};

struct CellOperationResult {
    StatusText message;             // empty: leave the status bar as it is
    unsigned acceptedFields = 0;    // InputField bits whose text turns black
    unsigned rejectedFields = 0;    // InputField bits whose text turns red
    bool cellsWritten = false;      // every selected cell was rewritten: redraw those
    bool selectionChanged = false;  // the selection mask changed: repaint it
};

// Runs one operation. `selection` must have the map's rows and columns and
// the working copy the map's block size; otherwise nothing happens.
CellOperationResult runCellOperation(CellOperation operation, MapCells& cells, CellSelection& selection,
                                     const CellInputs& inputs);
