#include "cells/cell_operations.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "cells/cell_codec.h"
#include "cells/table_display.h"
#include "common/number_text.h"

namespace {

constexpr const char* kNotANumber = "This is not a valid number!";

StatusText countedMessage(const char* prefix, std::size_t count)
{
    return StatusText::counted(prefix, static_cast<std::int64_t>(count));
}

CellOperationResult message(const char* text)
{
    CellOperationResult result;
    result.message = StatusText(text);
    return result;
}

CellOperationResult rejected(unsigned field)
{
    CellOperationResult result = message(kNotANumber);
    result.rejectedFields = field;
    return result;
}

// Calls write(row, column) for each selected cell, which tells whether the
// cell was held at a limit, and reports the counts.
template <typename Write>
CellOperationResult writeSelected(const CellSelection& selection, const char* prefix, Write&& write)
{
    std::size_t count = 0;
    std::size_t held = 0;
    selection.forEachSelected([&](int row, int column) {
        held += write(row, column);
        ++count;
    });
    CellOperationResult result;
    result.message = countedMessage(prefix, count);
    appendHeldCount(result.message, held);
    result.cellsWritten = count > 0;
    result.note = {prefix, static_cast<std::int64_t>(count)};
    return result;
}

CellOperationResult rawStep(MapCells& cells, const CellSelection& selection, std::int32_t amount, bool up)
{
    // On the cell's own number, so that a step past its range holds at the limit.
    const std::int64_t step = up ? std::int64_t(amount) : -std::int64_t(amount);
    return writeSelected(selection, up ? "Raw number added to " : "Raw number subtracted from ",
                         [&](int row, int column) {
                             return cells.storeNumber(row, column, double(cells.number(row, column) + step));
                         });
}

CellOperationResult percentStep(MapCells& cells, const CellSelection& selection, const std::string& text, bool up)
{
    if (text.empty())
        return message("Please insert a number in the percentage field!");
    double percent = 0.0;
    if (!numberFromText(text, percent))
        return rejected(FieldPercent);
    const double ratio = percent / 100;
    CellOperationResult result =
        writeSelected(selection, up ? "Percentage added to " : "Percentage subtracted from ", [&](int row, int column) {
            const double value = cells.eng(row, column);
            return cells.setEng(row, column, up ? value + value * ratio : value - value * ratio);
        });
    result.acceptedFields = FieldPercent;
    return result;
}

CellOperationResult engineeringStep(MapCells& cells, const CellSelection& selection, const std::string& text,
                                    bool up)
{
    if (text.empty())
        return message("Please insert a number in the engineering field!");
    double amount = 0.0;
    if (!numberFromText(text, amount))
        return rejected(FieldEngineering);
    CellOperationResult result =
        writeSelected(selection, up ? "Engineering number added to " : "Engineering number subtracted from ",
                      [&](int row, int column) {
                          const double value = cells.eng(row, column);
                          return cells.setEng(row, column, up ? value + amount : value - amount);
                      });
    result.acceptedFields = FieldEngineering;
    return result;
}

CellOperationResult fill(MapCells& cells, const CellSelection& selection, const CellInputs& inputs)
{
    switch (inputs.mode) {
    case OperationMode::Raw:
        return writeSelected(selection, "Raw number set on ",
                             [&](int row, int column) { return cells.storeRaw(row, column, inputs.rawValue); });
    case OperationMode::Engineering: {
        double value = 0.0;
        if (!numberFromText(inputs.engineeringText, value))
            return rejected(FieldEngineering);
        CellOperationResult result = writeSelected(
            selection, "Engineering number set on ", [&](int row, int column) { return cells.setEng(row, column, value); });
        result.acceptedFields = FieldEngineering;
        return result;
    }
    case OperationMode::Percent:
        break;
    }
    return message("Filling is only available for raw & engineering numbers.");
}

// Replaces the selection with the cells that match, in one pass over the
// mask (stored column by column, the order the cells are visited in).
template <typename Matches>
std::size_t selectWhere(const MapCells& cells, CellSelection& selection, Matches&& matches)
{
    std::vector<std::uint8_t>& flags = selection.flags();
    const int rows = cells.rows();
    const int columns = cells.columns();
    std::size_t count = 0;
    std::size_t i = 0;
    for (int column = 0; column < columns; ++column)
        for (int row = 0; row < rows; ++row, ++i) {
            const bool hit = matches(row, column);
            flags[i] = hit;
            count += hit;
        }
    return count;
}

CellOperationResult selectByValue(const MapCells& cells, CellSelection& selection, const CellInputs& inputs,
                                  bool orGreater)
{
    CellOperationResult result;
    std::size_t count = 0;
    switch (inputs.mode) {
    case OperationMode::Raw: {
        const std::int32_t wanted = inputs.rawValue;
        count = orGreater ? selectWhere(cells, selection, [&](int r, int c) { return cells.raw(r, c) >= wanted; })
                          : selectWhere(cells, selection, [&](int r, int c) { return cells.raw(r, c) == wanted; });
        break;
    }
    case OperationMode::Engineering: {
        double wanted = 0.0;
        if (!numberFromText(inputs.engineeringText, wanted))
            return rejected(FieldEngineering);
        // The cells' engineering values are already rounded to their places,
        // so a number typed as the grid shows it matches exactly.
        count = orGreater ? selectWhere(cells, selection, [&](int r, int c) { return cells.eng(r, c) >= wanted; })
                          : selectWhere(cells, selection, [&](int r, int c) { return cells.eng(r, c) == wanted; });
        result.acceptedFields = FieldEngineering;
        break;
    }
    case OperationMode::Percent:
        return message("Selection by value is only available for raw & engineering numbers.");
    }
    result.message = countedMessage("Selected ", count);
    result.selectionChanged = true;
    return result;
}

// from + (to - from) x f; where to - from overflows (corners near the ends
// of the double range) the same point, reached without the overflow, which
// would otherwise turn the ramp into infinities or, at f = 0, not-a-number.
double ramp(double from, double to, double f)
{
    const double spread = to - from;
    if (std::isfinite(spread))
        return from + spread * f;
    return from * (1 - f) + to * f;
}

// Adds a bilinear ramp between the four corner values to the selected cells
// of the selection's bounding block: top-left and top-right along the top
// row, bottom-left and bottom-right along the bottom row.
CellOperationResult interpolate(MapCells& cells, const CellSelection& selection, const CellInputs& inputs)
{
    if (inputs.mode == OperationMode::Percent)
        return message("Interpolation is only available for raw & engineering numbers.");

    static constexpr unsigned kCornerFields[4] = {FieldTopLeft, FieldTopRight, FieldBottomLeft, FieldBottomRight};
    double corner[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool valid = false;
        if (inputs.mode == OperationMode::Raw) {
            std::int64_t whole = 0;
            valid = integerFromText(inputs.cornerTexts[i], whole);
            corner[i] = static_cast<double>(whole);
        } else {
            valid = numberFromText(inputs.cornerTexts[i], corner[i]);
        }
        if (!valid)
            return rejected(kCornerFields[i]);
    }
    const double topLeft = corner[0], topRight = corner[1], bottomLeft = corner[2], bottomRight = corner[3];

    CellOperationResult result;
    result.acceptedFields = FieldTopLeft | FieldTopRight | FieldBottomLeft | FieldBottomRight;
    std::size_t count = 0;
    std::size_t held = 0;
    int minRow = 0, minColumn = 0, maxRow = -1, maxColumn = -1;
    if (selection.bounds(minRow, minColumn, maxRow, maxColumn)) {
        const double columnStep = 1.0 / (maxColumn - minColumn);
        const double rowStep = 1.0 / (maxRow - minRow);
        // A block one row tall has no bottom row to ramp toward: its cells
        // take the top value, which still ramps from top-left to top-right.
        const bool oneRow = minRow == maxRow;
        const bool raw = inputs.mode == OperationMode::Raw;
        const std::uint8_t* flags = selection.flags().data();
        const std::size_t rows = static_cast<std::size_t>(selection.rows());
        double top = topLeft;
        double bottom = bottomLeft;
        int k = 1;
        for (int column = minColumn; column <= maxColumn; ++column) {
            const std::uint8_t* columnFlags = flags + static_cast<std::size_t>(column) * rows;
            int t = 0;
            for (int row = minRow; row <= maxRow; ++row, ++t) {
                if (!columnFlags[row])
                    continue;
                const double a = oneRow ? top : ramp(top, bottom, rowStep * t);
                if (raw)
                    held += cells.storeNumber(row, column, double(cells.number(row, column)) + std::ceil(a));
                else
                    held += cells.setEng(row, column, cells.eng(row, column) + a);
                ++count;
            }
            if (column < maxColumn) {
                const double f = columnStep * k;
                top = ramp(topLeft, topRight, f);
                bottom = ramp(bottomLeft, bottomRight, f);
                ++k;
            }
        }
    }
    result.message = countedMessage("Interpolation set on ", count);
    appendHeldCount(result.message, held);
    result.cellsWritten = count > 0;
    result.note = {"Interpolation set on ", static_cast<std::int64_t>(count)};
    return result;
}

CellOperationResult statistics(const MapCells& cells, const CellSelection& selection)
{
    std::size_t count = 0;
    // With no cell these bounds are shown as they are.
    double minimum = 2147483647;
    double maximum = -2147483647;
    double sum = 0;
    selection.forEachSelected([&](int row, int column) {
        const double value = cells.eng(row, column);
        if (count == 0 || value < minimum)
            minimum = value;
        if (count == 0 || value > maximum)
            maximum = value;
        sum += value;
        ++count;
    });
    const double average = sum / static_cast<double>(count);
    const int places = cells.z().decimalpl;
    std::string number;
    appendInteger(number, static_cast<std::int64_t>(count));
    CellOperationResult result;
    result.message.fixed("COUNT=").literal(number).fixed(" MIN=").literal(formatDecimals(minimum, places));
    result.message.fixed(" AVG=").literal(formatDecimals(average, places));
    result.message.fixed(" MAX=").literal(formatDecimals(maximum, places));
    return result;
}

CellOperationResult selectionCommand(CellSelection& selection, CellOperation operation)
{
    if (operation == CellOperation::SelectAll)
        selection.selectAll();
    else if (operation == CellOperation::ClearSelection)
        selection.clear();
    else
        selection.invert();   // with nothing selected, everything becomes selected
    CellOperationResult result;
    result.message = operation == CellOperation::ClearSelection ? StatusText("Selection cleared.")
                                                                : countedMessage("Selected ", selection.count());
    result.selectionChanged = true;
    return result;
}

} // namespace

CellOperationResult runCellOperation(CellOperation operation, MapCells& cells, CellSelection& selection,
                                     const CellInputs& inputs)
{
    if (!cells.map || selection.rows() != cells.rows() || selection.columns() != cells.columns() ||
        cells.workingCopy.size() < CellCodec::blockSize(*cells.map))
        return {};

    // The steps, fill and statistics take the cursor cell when nothing is selected.
    CellSelection single;
    const bool onSelection = operation == CellOperation::Interpolate || operation == CellOperation::SelectEqual ||
                             operation == CellOperation::SelectGreaterOrEqual || operation == CellOperation::SelectAll ||
                             operation == CellOperation::ClearSelection ||
                             operation == CellOperation::InvertSelection;
    const CellSelection& target =
        onSelection ? selection : cellsToActOn(selection, inputs.cursorRow, inputs.cursorColumn, single);
    const auto onTarget = [&](CellOperationResult result) {
        result.onCursorCell = result.cellsWritten && &target == &single;
        return result;
    };
    switch (operation) {
    case CellOperation::IncrementRaw:
    case CellOperation::DecrementRaw:
        return onTarget(rawStep(cells, target, inputs.rawValue, operation == CellOperation::IncrementRaw));
    case CellOperation::IncrementPercent:
    case CellOperation::DecrementPercent:
        return onTarget(
            percentStep(cells, target, inputs.percentText, operation == CellOperation::IncrementPercent));
    case CellOperation::IncrementEngineering:
    case CellOperation::DecrementEngineering:
        return onTarget(engineeringStep(cells, target, inputs.engineeringText,
                                        operation == CellOperation::IncrementEngineering));
    case CellOperation::Fill:
        return onTarget(fill(cells, target, inputs));
    case CellOperation::SelectEqual:
    case CellOperation::SelectGreaterOrEqual:
        return selectByValue(cells, selection, inputs, operation == CellOperation::SelectGreaterOrEqual);
    case CellOperation::Interpolate:
        return interpolate(cells, selection, inputs);
    case CellOperation::SelectAll:
    case CellOperation::ClearSelection:
    case CellOperation::InvertSelection:
        return selectionCommand(selection, operation);
    case CellOperation::Statistics:
        return statistics(cells, target);
    }
    return {};
}

const CellSelection& cellsToActOn(const CellSelection& selection, int cursorRow, int cursorColumn,
                                  CellSelection& single)
{
    if (selection.any())
        return selection;
    single.resize(selection.rows(), selection.columns());
    single.set(cursorRow, cursorColumn);
    return single;
}

void appendHeldCount(StatusText& message, std::size_t held)
{
    if (held == 0)
        return;
    if (!message.empty())
        message.fixed(" ");
    std::string number;
    appendInteger(number, static_cast<std::int64_t>(held));
    message.literal(std::move(number)).fixed(" cells held at a limit.");
}
