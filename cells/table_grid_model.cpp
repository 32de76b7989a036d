#include "cells/table_grid_model.h"

#include <algorithm>
#include <cmath>

#include "cells/cell_selection.h"
#include "common/number_text.h"

TableGridModel::TableGridModel(MapCells& cells) : m_cells(cells) {}

void TableGridModel::ensureFlags()
{
    if (m_flags.size() != m_cells.cellCount())
        m_flags.assign(m_cells.cellCount(), 0);
}

double TableGridModel::valueAt(std::size_t offset) const
{
    if (m_view.raw) {
        if (m_view.difference)
            return double(m_cells.numberAt(offset) - m_cells.compareNumberAt(offset));
        return m_cells.rawAt(offset);
    }
    const double eng = m_cells.engAt(offset);
    if (!m_view.difference)
        return eng;
    // Both readings are rounded to the places; their difference is too, or
    // 0.5 and 0.4999999999999982 would be two values (and span the colours).
    return CellCodec::roundToDecimals(eng - m_cells.compareEngAt(offset), m_cells.z().decimalpl);
}

double TableGridModel::heatValueAt(std::size_t offset) const
{
    return m_view.raw && !m_view.difference ? double(m_cells.numberAt(offset)) : valueAt(offset);
}

double TableGridModel::value(int row, int column) const
{
    return valueAt(m_cells.offset(row, column));
}

bool TableGridModel::differs(std::size_t offset, double v) const
{
    if (m_view.difference)
        return v != 0;
    if (!m_cells.hasCompare())
        return false;
    if (m_view.raw)
        return m_cells.numberAt(offset) != m_cells.compareNumberAt(offset);
    return m_cells.engAt(offset) != m_cells.compareEngAt(offset);
}

void TableGridModel::fill(const TableView& view)
{
    m_view = view;
    if (!m_cells.hasCompare())
        m_view.difference = false;
    // A rejected text goes with its red: the cell shows its stored value again.
    m_typed.clear();
    ensureFlags();
    for (std::uint8_t& flag : m_flags)
        flag &= static_cast<std::uint8_t>(~(Redrawn | RedText));

    // Every cell once, in memory order: the range does not depend on the order.
    HeatRange range;
    const std::size_t size = static_cast<std::size_t>(CellCodec::cellSize(m_cells.z()));
    const std::size_t count = m_cells.cellCount();
    for (std::size_t i = 0; i < count; ++i)
        range.add(heatValueAt(i * size));
    m_scale = range.scale();
    m_minimum = range.min;
}

std::string TableGridModel::text(int row, int column) const
{
    if (!m_typed.empty()) {
        const auto typed = m_typed.find(index(row, column));
        if (typed != m_typed.end())
            return typed->second;
    }
    const AxisDefinition& z = m_cells.z();
    return cellText(value(row, column), m_view.raw || z.outputtype == OutputInteger, z.decimalpl);
}

CellLook TableGridModel::look(int row, int column) const
{
    const std::size_t i = index(row, column);
    const std::uint8_t flags = i < m_flags.size() ? m_flags[i] : 0;
    CellLook look;
    look.text = (flags & RedText) ? TextColour::Red : (flags & BlackText) ? TextColour::Black : TextColour::Default;
    if (flags & Redrawn) {
        look.background = kWhite;
        return look;
    }
    const std::size_t offset = m_cells.offset(row, column);
    const double v = heatValueAt(offset);
    // All cells equal (no spread): each is the map's smallest, green.
    look.background = m_view.highlight && differs(offset, v) ? kDifferenceBlue
                                                               : heatColour(v - m_minimum, m_scale > 0 ? m_scale : 1);
    return look;
}

void TableGridModel::redrawCell(int row, int column)
{
    ensureFlags();
    const std::size_t i = index(row, column);
    if (!m_typed.empty())
        m_typed.erase(i);
    m_flags[i] = Redrawn | BlackText;
}

void TableGridModel::redrawCells(const CellSelection& cells)
{
    ensureFlags();
    const std::vector<std::uint8_t>& selected = cells.flags();
    const std::size_t count = std::min(selected.size(), m_flags.size());
    for (std::size_t i = 0; i < count; ++i) {
        if (!selected[i])
            continue;
        m_flags[i] = Redrawn | BlackText;
        if (!m_typed.empty())
            m_typed.erase(i);
    }
}

void TableGridModel::setTypedText(int row, int column, const std::string& text)
{
    m_typed[index(row, column)] = text;
}

bool TableGridModel::storeShown(int row, int column, double number)
{
    if (m_view.raw)
        return m_view.difference ? m_cells.storeRawDifference(row, column, number) : m_cells.storeRaw(row, column, number);
    const double compare = m_view.difference ? m_cells.compareEng(row, column) : 0.0;
    return m_cells.setEng(row, column, number + compare);
}

bool TableGridModel::shows(int row, int column, double number) const
{
    const double v = value(row, column);
    if (v == number)
        return true;
    const AxisDefinition& z = m_cells.z();
    return cellTextValue(v, m_view.raw || z.outputtype == OutputInteger, z.decimalpl) == number;
}

bool TableGridModel::holdsExactly(int row, int column, double number) const
{
    if (m_view.raw)
        return value(row, column) == number;
    const AxisDefinition& z = m_cells.z();
    const auto exact = [&](std::int64_t raw) { return (double(raw) + z.offset) * z.factor; };
    const double cell = exact(m_cells.number(row, column));
    const double compare = m_view.difference ? exact(m_cells.compareNumber(row, column)) : 0.0;
    return CellCodec::sameButForRounding(cell - compare, number, std::max(std::fabs(cell), std::fabs(compare)));
}

bool TableGridModel::commitTypedText(int row, int column, bool* held, bool* adjusted)
{
    if (held)
        *held = false;
    if (adjusted)
        *adjusted = false;
    ensureFlags();
    const std::size_t i = index(row, column);
    std::uint8_t& flags = m_flags[i];
    flags |= Redrawn;
    const auto typed = m_typed.find(i);
    double number = 0;
    if (typed == m_typed.end() || !numberFromText(typed->second, number)) {
        flags = static_cast<std::uint8_t>((flags & ~BlackText) | RedText);
        return false;
    }
    const bool atLimit = storeShown(row, column, number);
    // A typed text that is not what the cell holds would show a value the
    // image does not have (10.3 in a cell of half steps holds 10.0). What it
    // holds may have more places than it shows (2.35 typed where one shows).
    const bool between = !atLimit && value(row, column) != number && !holdsExactly(row, column, number);
    if (atLimit || between)
        m_typed.erase(typed);
    if (held)
        *held = atLimit;
    if (adjusted)
        *adjusted = between;
    flags = static_cast<std::uint8_t>((flags & ~RedText) | BlackText);
    return true;
}
