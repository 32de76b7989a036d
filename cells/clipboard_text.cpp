#include "cells/clipboard_text.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "cells/cell_codec.h"
#include "cells/cell_operations.h"
#include "common/number_text.h"

std::string clipboardHeader(bool rawView, bool differenceView)
{
    return std::string(rawView ? "RAW" : "ENG") + (differenceView ? "-DIF" : "-ABS");
}

std::string encodeClipboardText(bool rawView, bool differenceView, const CellSelection& selection,
                                const CellTextFunction& cellText)
{
    std::string text = clipboardHeader(rawView, differenceView);
    // Room for a short entry per cell saves most regrowth of a large copy.
    text.reserve(text.size() + selection.count() * 16);
    selection.forEachSelected([&](int row, int column) {
        // "@row:column=" put together on the stack, appended at once.
        char entry[32];
        char* end = entry;
        *end++ = '@';
        end = std::to_chars(end, end + 11, row).ptr;   // 11 characters hold any int
        *end++ = ':';
        end = std::to_chars(end, end + 11, column).ptr;
        *end++ = '=';
        text.append(entry, end);
        text += cellText(row, column);
    });
    return text;
}

namespace {

// Bytes of the UTF-8 character that starts with `lead` (1 for a stray byte).
std::size_t characterLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

// Reads the header: the number kind, the value kind, and the text after it.
bool readHeader(std::string_view text, bool& raw, bool& difference, std::string_view& rest)
{
    const std::string_view kind = text.substr(0, 3);
    if (kind != "RAW" && kind != "ENG")
        return false;
    raw = kind == "RAW";
    // The separator after the kind is not examined; it is one character,
    // which may take more than one byte.
    rest = text.substr(3);
    if (!rest.empty())
        rest.remove_prefix(std::min(characterLength(static_cast<unsigned char>(rest.front())), rest.size()));
    const std::string_view values = rest.substr(0, 3);
    if (values != "ABS" && values != "DIF")
        return false;
    difference = values == "DIF";
    rest.remove_prefix(3);
    return true;
}

} // namespace

bool isClipboardFormat(std::string_view text)
{
    bool raw = false, difference = false;
    std::string_view rest;
    return readHeader(text, raw, difference, rest);
}

PasteResult pasteClipboardText(std::string_view text, MapCells& cells)
{
    PasteResult result;
    if (!cells.map || cells.workingCopy.size() < CellCodec::blockSize(*cells.map))
        return result;
    const int rows = cells.rows();
    const int columns = cells.columns();
    result.written.resize(rows, columns);

    CellSelection heldCells;   // sized at the first held write
    bool raw = false, difference = false;
    std::string_view rest;
    if (!readHeader(text, raw, difference, rest)) {
        result.message = StatusText("No data to be pasted!");
        return result;
    }
    if (difference && !cells.hasCompare()) {
        result.message = StatusText("Please select a compare BIN before pasting difference values!");
        return result;
    }

    // The entries before a faulty one stay written: undo names them.
    const auto failed = [&result](const char* message) {
        result.message = StatusText(message);
        result.note = {"Data pasted into ", static_cast<std::int64_t>(result.writtenCount)};
        return result;
    };
    while (!rest.empty() && rest.front() == '@') {
        rest.remove_prefix(1);
        const std::size_t colon = rest.find(':');
        std::int64_t row = 0;
        if (colon == std::string_view::npos || !integerFromText(rest.substr(0, colon), row)) {
            return failed("Error in extracting Y co-ordinate!");
        }
        const std::size_t equals = rest.find('=', colon + 1);
        std::int64_t column = 0;
        if (equals == std::string_view::npos || !integerFromText(rest.substr(colon + 1, equals - colon - 1), column)) {
            return failed("Error in extracting X co-ordinate!");
        }
        const std::size_t next = rest.find('@', equals + 1);
        const std::string_view valueText =
            rest.substr(equals + 1, next == std::string_view::npos ? std::string_view::npos : next - equals - 1);
        double value = 0.0;
        if (!numberFromText(valueText, value)) {
            return failed("Error in extracting data value!");
        }
        rest.remove_prefix(next == std::string_view::npos ? rest.size() : next);

        if (row < 0 || row >= rows || column < 0 || column >= columns)
            continue;   // names no cell of this table
        const int r = static_cast<int>(row);
        const int c = static_cast<int>(column);
        const bool held = raw ? (difference ? cells.storeRawDifference(r, c, value) : cells.storeRaw(r, c, value))
                              : cells.setEng(r, c, difference ? cells.compareEng(r, c) + value : value);
        // A cell named twice counts as its last write left it.
        if (held && !heldCells.rows())
            heldCells.resize(rows, columns);
        if (held != heldCells.isSelected(r, c)) {
            heldCells.set(r, c, held);
            held ? ++result.heldCount : --result.heldCount;
        }
        if (!result.written.isSelected(r, c)) {
            result.written.set(r, c);
            ++result.writtenCount;
        }
    }
    result.message = StatusText::counted("Data pasted into ", static_cast<std::int64_t>(result.writtenCount));
    appendHeldCount(result.message, result.heldCount);
    result.note = {"Data pasted into ", static_cast<std::int64_t>(result.writtenCount)};
    return result;
}
