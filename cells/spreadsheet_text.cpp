#include "cells/spreadsheet_text.h"

#include <algorithm>

#include "cells/cell_operations.h"
#include "common/number_text.h"

std::string encodeSpreadsheetText(const CellSelection& selection, const CellTextFunction& cellText)
{
    int top = 0, left = 0, bottom = -1, right = -1;
    std::string text;
    if (!selection.bounds(top, left, bottom, right))
        return text;
    text.reserve(std::size_t(bottom - top + 1) * std::size_t(right - left + 1) * 8);
    for (int row = top; row <= bottom; ++row) {
        for (int column = left; column <= right; ++column) {
            if (column > left)
                text += '\t';
            if (!selection.isSelected(row, column))
                continue;
            const std::size_t start = text.size();
            text += cellText(row, column);
            // A typed text could break the block apart.
            std::replace_if(
                text.begin() + std::ptrdiff_t(start), text.end(),
                [](char c) { return c == '\t' || c == '\n' || c == '\r'; }, ' ');
        }
        text += '\n';
    }
    return text;
}

namespace {

// Calls field(row, column, text) for every field of the text, line by line.
template <typename Field>
bool forEachField(std::string_view text, Field&& field)
{
    std::int64_t row = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", at);
        const std::string_view line = text.substr(at, end == std::string_view::npos ? end : end - at);
        std::int64_t column = 0;
        std::size_t from = 0;
        for (;;) {
            const std::size_t tab = line.find('\t', from);
            if (!field(row, column, line.substr(from, tab == std::string_view::npos ? tab : tab - from)))
                return false;
            if (tab == std::string_view::npos)
                break;
            from = tab + 1;
            ++column;
        }
        ++row;
        if (end == std::string_view::npos)
            break;
        at = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return true;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\f' || c == '\v';
}

// Reads one field: empty (blanks only) or a number. `decimalSign` is the
// sign the block uses so far ('.' or ',', 0 while none was seen); a field
// with the other one is refused.
class FieldReader {
public:
    // False when the field is neither empty nor a number.
    bool read(std::string_view field, bool& empty, double& value)
    {
        while (!field.empty() && isBlank(field.front()))
            field.remove_prefix(1);
        while (!field.empty() && isBlank(field.back()))
            field.remove_suffix(1);
        empty = field.empty();
        if (empty)
            return true;
        const std::size_t point = field.find('.');
        const std::size_t comma = field.find(',');
        if (point != std::string_view::npos && comma != std::string_view::npos)
            return false;   // a thousands separator, or worse
        if (point != std::string_view::npos || comma != std::string_view::npos) {
            const char sign = comma != std::string_view::npos ? ',' : '.';
            if (m_decimalSign && m_decimalSign != sign)
                return false;
            m_decimalSign = sign;
        }
        if (comma == std::string_view::npos)
            return numberFromText(field, value);
        if (field.find(',', comma + 1) != std::string_view::npos)
            return false;
        m_scratch.assign(field);
        m_scratch[comma] = '.';
        return numberFromText(m_scratch, value);
    }

private:
    char m_decimalSign = 0;
    std::string m_scratch;
};

} // namespace

bool readSpreadsheetBlock(std::string_view text, SpreadsheetBlock& block)
{
    block = {};
    FieldReader reader;
    const bool numbers = forEachField(text, [&](std::int64_t row, std::int64_t column, std::string_view field) {
        bool empty = false;
        double value = 0;
        if (!reader.read(field, empty, value))
            return false;
        block.rows = row + 1;
        block.columns = std::max(block.columns, column + 1);
        block.numbers += !empty;
        return true;
    });
    return numbers && block.numbers > 0;
}

PasteResult pasteSpreadsheetText(std::string_view text, TableGridModel& model, int top, int left)
{
    PasteResult result;
    MapCells& cells = model.cells();
    if (!cells.map || cells.workingCopy.size() < CellCodec::blockSize(*cells.map))
        return result;
    const int rows = cells.rows();
    const int columns = cells.columns();
    result.written.resize(rows, columns);
    // The whole text is read first: a text that is not a block writes nothing.
    SpreadsheetBlock block;
    if (!readSpreadsheetBlock(text, block)) {
        result.message = StatusText("No data to be pasted!");
        return result;
    }
    FieldReader reader;
    forEachField(text, [&](std::int64_t row, std::int64_t column, std::string_view field) {
        const std::int64_t r = top + row;
        const std::int64_t c = left + column;
        if (r < 0 || c < 0 || r >= rows || c >= columns)
            return r < rows;   // nothing more lands inside once below the map
        bool empty = false;
        double value = 0;
        reader.read(field, empty, value);
        if (empty)
            return true;
        result.heldCount += model.storeShown(int(r), int(c), value);
        result.written.set(int(r), int(c));
        ++result.writtenCount;
        return true;
    });
    result.message = StatusText::counted("Data pasted into ", static_cast<std::int64_t>(result.writtenCount));
    appendHeldCount(result.message, result.heldCount);
    result.note = {"Data pasted into ", static_cast<std::int64_t>(result.writtenCount)};
    return result;
}

PasteResult pasteAnyText(std::string_view text, TableGridModel& model, int top, int left)
{
    if (isClipboardFormat(text))
        return pasteClipboardText(text, model.cells());
    return pasteSpreadsheetText(text, model, top, left);
}

StatusText selectionSizeText(const CellSelection& selection)
{
    int top = 0, left = 0, bottom = -1, right = -1;
    if (!selection.bounds(top, left, bottom, right))
        return {};
    const std::int64_t width = right - left + 1;
    const std::int64_t height = bottom - top + 1;
    const std::int64_t count = static_cast<std::int64_t>(selection.count());
    auto number = [](std::int64_t value) {
        std::string text;
        appendInteger(text, value);
        return text;
    };
    const std::string block = number(width) + " \u00d7 " + number(height);   // columns x rows, as the map list shows them
    StatusText text;
    if (count == width * height)
        text.literal(block + " = " + number(count)).fixed(count == 1 ? " cell" : " cells");
    else
        text.literal(number(count)).fixed(" cells in ").literal(block);
    return text;
}
