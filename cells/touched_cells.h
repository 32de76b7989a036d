#pragma once
// The cells behind byte ranges of a working copy: what an undo or redo wrote,
// turned into the cells to redraw.
#include <vector>

#include "cells/cell_selection.h"
#include "cells/edit_history.h"
#include "cells/map_cells.h"

// A map-sized mask of every cell that shares a byte with one of the ranges,
// whatever the map's data order. Bytes outside the map's cells are ignored.
CellSelection touchedCells(const MapCells& cells, const std::vector<ByteRange>& ranges);
