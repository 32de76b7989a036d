#include "cells/spreadsheet_text.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

// Calls field(row, column, text) for every field of the text, line by line,
// until it returns false (then false). One pass over the characters.
template <typename Field>
bool forEachField(std::string_view text, Field&& field)
{
    const char* characters = text.data();
    const std::size_t size = text.size();
    std::int64_t row = 0;
    std::int64_t column = 0;
    std::size_t start = 0;
    for (std::size_t i = 0;; ++i) {
        const char c = i < size ? characters[i] : '\n';
        if (c != '\t' && c != '\n' && c != '\r')
            continue;
        if (i == size && start == size && column == 0)
            return true;   // after the last line break: no further line
        if (!field(row, column, text.substr(start, i - start)))
            return false;
        if (i == size)
            return true;
        if (c == '\t') {
            ++column;
        } else {
            if (c == '\r' && i + 1 < size && characters[i + 1] == '\n')
                ++i;
            ++row;
            column = 0;
        }
        start = i + 1;
    }
}

bool isBlank(char c)
{
    return c == ' ' || c == '\f' || c == '\v';
}

// Reads the fields of one block: each empty (blanks only) or a number. The
// first decimal sign seen is the block's; a field with the other is refused.
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
        // Fields are short: one look at each character finds the signs.
        std::size_t points = 0, commas = 0, comma = 0;
        for (std::size_t i = 0; i < field.size(); ++i) {
            if (field[i] == '.')
                ++points;
            else if (field[i] == ',')
                ++commas, comma = i;
        }
        if ((points && commas) || commas > 1)
            return false;   // a thousands separator, or worse
        if (points || commas) {
            const char sign = commas ? ',' : '.';
            if (m_decimalSign && m_decimalSign != sign)
                return false;
            m_decimalSign = sign;
        }
        if (!commas)
            return numberFromText(field, value);
        m_scratch.assign(field);
        m_scratch[comma] = '.';
        if (!numberFromText(m_scratch, value))
            return false;
        if (!groupingShape(field, comma))
            m_commaIsDecimal = true;
        else if (m_ambiguous.empty())
            m_ambiguous.assign(field);
        return true;
    }

    // A field such as "1,000" that a spreadsheet showing thousands grouping
    // may have written, when no other field shows the comma to be decimal:
    // pasting it as 1.000 could store a value a thousand times too small.
    std::string_view ambiguousField() const { return m_commaIsDecimal ? std::string_view() : m_ambiguous; }

private:
    // One to three digits, the first not 0, then the comma and three digits.
    static bool groupingShape(std::string_view field, std::size_t comma)
    {
        std::size_t start = field.front() == '-' || field.front() == '+' ? 1 : 0;
        const auto digits = [&](std::size_t from, std::size_t to) {
            for (std::size_t i = from; i < to; ++i)
                if (field[i] < '0' || field[i] > '9')
                    return false;
            return true;
        };
        return comma > start && comma - start <= 3 && field[start] != '0' && field.size() - comma == 4
               && digits(start, comma) && digits(comma + 1, field.size());
    }

    char m_decimalSign = 0;
    bool m_commaIsDecimal = false;
    std::string m_ambiguous;
    std::string m_scratch;
};

} // namespace

bool readSpreadsheetBlock(std::string_view text, SpreadsheetBlock& block, std::int64_t keepRows,
                          std::int64_t keepColumns)
{
    block = {};
    FieldReader reader;
    const bool numbers = forEachField(text, [&](std::int64_t row, std::int64_t column, std::string_view field) {
        bool empty = false;
        double value = 0;
        if (!reader.read(field, empty, value)) {
            block.refusedField.assign(field);
            block.refusedLine = row;
            block.refusedColumn = column;
            return false;
        }
        if (row == block.rows) {   // a new line
            if (row > 0 && row <= keepRows)
                block.lineEnds.push_back(block.fields.size());
            block.rows = row + 1;
        }
        block.columns = std::max(block.columns, column + 1);
        block.numbers += !empty;
        if (row < keepRows && column < keepColumns)
            block.fields.push_back(empty ? std::numeric_limits<double>::quiet_NaN() : value);
        return true;
    });
    if (block.rows <= keepRows)
        block.lineEnds.push_back(block.fields.size());
    if (numbers)
        block.ambiguousField.assign(reader.ambiguousField());
    return numbers && block.numbers > 0 && block.ambiguousField.empty();
}

namespace {

std::string counted(std::int64_t number)
{
    std::string text;
    appendInteger(text, number);
    return text;
}

// A field as a message can show it: its first characters.
std::string shortened(std::string text)
{
    constexpr std::size_t kShown = 24;
    if (text.size() <= kShown)
        return text;
    std::size_t end = kShown;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;   // not inside a character
    return text.substr(0, end) + "\u2026";
}

} // namespace

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
    // Only the fields that land on the map are kept: a text far larger than
    // the map costs no more than itself.
    SpreadsheetBlock block;
    if (!readSpreadsheetBlock(text, block, std::max(rows - top, 0), std::max(columns - left, 0))) {
        if (!block.refusedField.empty() && block.numbers > 0)
            // Numbers came before it: a block with one stray field, which
            // among thousands the tuner needs to be shown.
            result.message.fixed("No data pasted: line ")
                .literal(counted(block.refusedLine + 1))
                .fixed(", field ")
                .literal(counted(block.refusedColumn + 1))
                .fixed(" reads \"")
                .literal(shortened(block.refusedField))
                .fixed("\".");
        else if (block.ambiguousField.empty())
            result.message = StatusText("No data to be pasted!");
        else
            result.message.fixed("No data pasted: the comma in \"")
                .literal(block.ambiguousField)
                .fixed("\" may be a thousands separator.");
        return result;
    }
    std::size_t first = 0;
    for (std::int64_t line = 0; line < std::int64_t(block.lineEnds.size()) && top + line < rows; ++line) {
        const std::size_t end = block.lineEnds[std::size_t(line)];
        const std::int64_t r = top + line;
        for (std::size_t i = first; r >= 0 && i < end && left + std::int64_t(i - first) < columns; ++i) {
            const double value = block.fields[i];
            const std::int64_t c = left + std::int64_t(i - first);
            if (std::isnan(value) || c < 0)
                continue;
            // A cell pasted back with the text it shows keeps its hidden
            // digits: copying a table out, editing some cells and pasting it
            // back changes only those.
            if (!model.shows(int(r), int(c), value)) {
                const bool held = model.storeShown(int(r), int(c), value);
                result.heldCount += held;
                // Between two of the cell's steps (10.3 where it holds halves):
                // the tuner learns that the grid holds another value.
                result.roundedCount += !held && model.value(int(r), int(c)) != value &&
                                       !model.holdsExactly(int(r), int(c), value);
            }
            result.written.set(int(r), int(c));
            ++result.writtenCount;
        }
        first = end;
    }
    result.message = StatusText::counted("Data pasted into ", static_cast<std::int64_t>(result.writtenCount));
    appendHeldCount(result.message, result.heldCount);
    if (result.roundedCount > 0)
        result.message.fixed(" ")
            .literal(counted(std::int64_t(result.roundedCount)))
            .fixed(" cells rounded to their step.");
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
    const std::string block = counted(width) + " \u00d7 " + counted(height);   // columns x rows, as the map list shows them
    StatusText text;
    if (count == width * height)
        text.literal(block + " = " + counted(count)).fixed(count == 1 ? " cell" : " cells");
    else
        text.literal(counted(count)).fixed(" cells in ").literal(block);
    return text;
}
